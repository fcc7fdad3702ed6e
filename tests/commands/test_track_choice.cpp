// Which track a replay belongs to: the tracks' path patterns, the remembered associations,
// the Choose Track dialog with its scope text and remember box, and the associations
// carried from one run to the next through the settings file.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "CommandsFixture.h"
#include "commands/TrackChoice.h"
#include "track/TrackAssociation.h"

namespace commands_test {
namespace {

using testing::ElementsAre;
using TrackChoice = CommandsTest;

TEST_F(TrackChoice, PatternsAreSubstringsOfTheLowerCasePath) {
    const TTrackData& ridge = tracks.At(TrackIndex("Ridge"));
    EXPECT_TRUE(TrackMatchesPath(ridge, "/races/ridge/r.rpl"));
    EXPECT_TRUE(TrackMatchesPath(ridge, "/races/kestrel1.rpl")) << "the second pattern";
    EXPECT_FALSE(TrackMatchesPath(ridge, "/races/RIDGE/r.rpl")) << "matching is case-sensitive";
    EXPECT_FALSE(TrackMatchesPath(ridge, "/races/oval/r.rpl"));
    const auto any = MakeTrack("Any", 9, "");
    EXPECT_TRUE(TrackMatchesPath(*any, "/whatever.rpl")) << "an empty pattern occurs everywhere";
    const auto noAlt = MakeTrack("NoAlt", 9, "zzz", "");
    EXPECT_FALSE(TrackMatchesPath(*noAlt, "/whatever.rpl"))
        << "an empty second pattern is no match";
}

TEST_F(TrackChoice, OneMatchingPatternDecidesWithoutADialog) {
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/Races/Bullring Night/R1.RPL"), TrackIndex("Bullring"));
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/x/KESTREL.rpl"), TrackIndex("Ridge"));
    EXPECT_TRUE(prompts.Asked().empty());
}

TEST_F(TrackChoice, AStoredFragmentDecidesWithoutADialog) {
    session.associations.push_back({"club day", 24});
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/home/me/Club Day/heat2.rpl"), TrackIndex("Oval"));
    EXPECT_TRUE(prompts.Asked().empty());
    // A fragment whose track id no track has gives no answer: the user is asked.
    session.associations = {{"lost", 77}};
    prompts.tracks = {{true, 1, false}};
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/lost/r.rpl"), 1);
    EXPECT_THAT(prompts.Asked(), ElementsAre("Dialog: Choose Track | for lost"));
}

TEST_F(TrackChoice, AnUnknownPathAsksForEveryTrackAndRemembersTheDirectory) {
    prompts.tracks = {{true, 2, true}};
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/home/me/Sunday Races/r1.rpl"), 2);
    ASSERT_EQ(prompts.trackDialogs.size(), 1u);
    EXPECT_EQ(prompts.trackDialogs[0].trackNames,
              (std::vector<std::string>{"Bullring", "Oval", "Ridge"}));
    EXPECT_EQ(prompts.trackDialogs[0].selection, 0);
    EXPECT_EQ(prompts.trackDialogs[0].scopeText, "for sunday races");
    ASSERT_EQ(session.associations.size(), 1u);
    EXPECT_EQ(session.associations[0].fragment, "sunday races");
    EXPECT_EQ(session.associations[0].trackId, 156);

    // The remembered answer is used for the next replay of that directory.
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/home/me/SUNDAY RACES/r2.rpl"), 2);
    EXPECT_EQ(prompts.trackDialogs.size(), 1u);

    // Without the box ticked nothing is stored, and each opening starts on the first track.
    prompts.tracks = {{true, 1, false}};
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/home/me/monday/r.rpl"), 1);
    EXPECT_EQ(prompts.trackDialogs.back().selection, 0);
    EXPECT_EQ(session.associations.size(), 1u);
}

// Regression: the remember box started unticked at every opening.
TEST_F(TrackChoice, TheRememberBoxKeepsItsStateForTheRun) {
    // Ticked, then unticked, then ticked and cancelled, then an ambiguous path (box hidden).
    prompts.tracks = {
        {true, 1, true}, {true, 1, false}, {true, 1, true}, {false, 1, false}, {true, 1, false}};
    ChooseTrackForReplay(ctx, "/a/r.rpl");
    ChooseTrackForReplay(ctx, "/b/r.rpl");
    ChooseTrackForReplay(ctx, "/c/r.rpl");
    ChooseTrackForReplay(ctx, "/d/r.rpl");
    ChooseTrackForReplay(ctx, "/oval/ridge/r.rpl");
    prompts.tracks = {{true, 1, false}};
    ChooseTrackForReplay(ctx, "/e/r.rpl");
    std::vector<bool> shown;
    for (const TChooseTrackXfer& x : prompts.trackDialogs) shown.push_back(x.remember);
    EXPECT_EQ(shown, (std::vector<bool>{false, true, false, true, true, true}));
    EXPECT_EQ(prompts.trackDialogs[4].scopeText, "");
}

TEST_F(TrackChoice, CancelGivesNoTrackAndStoresNothing) {
    prompts.tracks = {{false, 1, true}};
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/home/me/unknown/r.rpl"), -1);
    EXPECT_TRUE(session.associations.empty());
}

TEST_F(TrackChoice, AmbiguousPathsAskWithoutTheRememberBox) {
    struct Case {
        TAssocList assoc;
        std::string path;
    } cases[] = {
        {{}, "/oval/ridge/r.rpl"},                        // two tracks' patterns
        {{{"club", 3}}, "/club/oval/r.rpl"},              // an association and a pattern
        {{{"club", 3}, {"day", 24}}, "/club day/r.rpl"},  // two associations
        {{{"club", 3}, {"club", 3}}, "/club/r.rpl"},      // even when they agree
    };
    for (const Case& c : cases) {
        session.associations = c.assoc;
        prompts.tracks = {{true, 1, true}};  // a tick the hidden box cannot have stored
        prompts.ClearLog();
        EXPECT_EQ(ChooseTrackForReplay(ctx, c.path), 1) << c.path;
        EXPECT_THAT(prompts.Asked(), ElementsAre("Dialog: Choose Track | ")) << c.path;
        EXPECT_EQ(session.associations.size(), c.assoc.size()) << c.path;
    }
}

TEST_F(TrackChoice, ScopeTextNamesTheLastDirectoryUpTo39Characters) {
    const std::string name39(39, 'd'), name40(40, 'e');
    prompts.tracks = {{true, 0, false}, {true, 0, false}, {true, 0, false}, {true, 0, false}};
    ChooseTrackForReplay(ctx, "/r/" + name39 + "/x.rpl");
    ChooseTrackForReplay(ctx, "/r/" + name40 + "/x.rpl");
    ChooseTrackForReplay(ctx, "C:\\Races\\Wet Day\\x.rpl");  // written on the other platform
    // Regression: at the top of a drive the drive was taken for the directory.
    ChooseTrackForReplay(ctx, "C:\\x.rpl");  // the top of a drive: the drive is no directory
    ASSERT_EQ(prompts.trackDialogs.size(), 4u);
    EXPECT_EQ(prompts.trackDialogs[0].scopeText, "for " + name39);
    EXPECT_EQ(prompts.trackDialogs[1].scopeText, "for this directory");
    EXPECT_EQ(prompts.trackDialogs[2].scopeText, "for wet day");
    EXPECT_EQ(prompts.trackDialogs[3].scopeText, "for ");
}

TEST_F(TrackChoice, AReplayAtTheTopStoresAnEmptyFragmentThatMatchesEverything) {
    prompts.tracks = {{true, 1, true}};
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/top.rpl"), 1);
    EXPECT_EQ(prompts.trackDialogs[0].scopeText, "for ");
    ASSERT_EQ(session.associations.size(), 1u);
    EXPECT_EQ(session.associations[0].fragment, "");
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/anywhere/else.rpl"), TrackIndex("Oval"));
    // ...and makes every path that a track's pattern matches ambiguous.
    prompts.tracks = {{true, 0, false}};
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/bullring/r.rpl"), 0);
    EXPECT_EQ(prompts.trackDialogs.back().scopeText, "");
}

TEST_F(TrackChoice, LoadingSkipsMissingPairsAndUnknownTracks) {
    tracks.Insert(
        MakeTrack("oval", 99, "ovalnight"));  // the same name again: the last gives the id
    ProfileFile& s = settings();
    s.WriteInt("assoc", "nassoc", 6);
    s.WriteText("assoc", "assocn1", "club");
    s.WriteText("assoc", "associ1", "RIDGE");
    s.WriteText("assoc", "assocn2", "gone");
    s.WriteText("assoc", "associ2", "Demolished Speedway");
    s.WriteText("assoc", "associ3", "Oval");      // no fragment
    s.WriteText("assoc", "assocn4", "no track");  // no name
    s.WriteText("assoc", "assocn5", "night");
    s.WriteText("assoc", "associ5", "Oval");
    // pair 6 is not in the file at all
    LoadStartupSettings(ctx);
    ASSERT_EQ(session.associations.size(), 2u);
    EXPECT_EQ(session.associations[0].fragment, "club");
    EXPECT_EQ(session.associations[0].trackId, 156);
    EXPECT_EQ(session.associations[1].fragment, "night");
    EXPECT_EQ(session.associations[1].trackId, 99);
    EXPECT_EQ(session.assocCountAtLoad, 2);

    // Nothing changed: the close check leaves the pairs of the file alone.
    EXPECT_TRUE(CanClose(ctx));
    EXPECT_EQ(Setting("assoc", "nassoc"), "6");
    EXPECT_EQ(Setting("assoc", "associ2"), "Demolished Speedway");
}

// Regression: a huge "nassoc" meant billions of key look-ups at start-up and an int overflow.
TEST_F(TrackChoice, AHugeAssociationCountLoadsOnlyThePairsTheFileHolds) {
    ProfileFile& s = settings();
    s.WriteInt("assoc", "nassoc", 2000000000);
    s.WriteText("assoc", "assocn1", "first");
    s.WriteText("assoc", "associ1", "Oval");
    s.WriteText("assoc", "ASSOCN1999999999", "far");
    s.WriteText("assoc", "associ1999999999", "Ridge");
    s.WriteText("assoc", "assocn2000000001", "beyond the count");
    s.WriteText("assoc", "associ2000000001", "Ridge");
    LoadStartupSettings(ctx);
    ASSERT_EQ(session.associations.size(), 2u);
    EXPECT_EQ(session.associations[0].fragment, "first");
    EXPECT_EQ(session.associations[1].fragment, "far");
    EXPECT_EQ(session.associations[1].trackId, 156);

    s.WriteInt("assoc", "nassoc", -3);
    LoadStartupSettings(ctx);
    EXPECT_TRUE(session.associations.empty());
}

TEST_F(TrackChoice, SavingWritesTheListAndLeavesHigherPairs) {
    tracks.Insert(MakeTrack("Zeta", 24, "zeta"));  // shares Oval's id and sorts last
    ProfileFile& s = settings();
    s.WriteInt("assoc", "nassoc", 3);
    for (const char* k : {"assocn1", "assocn2", "assocn3"}) s.WriteText("assoc", k, "old");
    for (const char* k : {"associ1", "associ2", "associ3"}) s.WriteText("assoc", k, "Bullring");
    const TAssocList list = {{"a", 24}, {"b", 200}};
    SaveAssociations(s, tracks, list);
    EXPECT_EQ(Setting("assoc", "nassoc"), "2");
    EXPECT_EQ(Setting("assoc", "assocn1"), "a");
    EXPECT_EQ(Setting("assoc", "associ1"), "Zeta") << "the last track with the id names it";
    EXPECT_EQ(Setting("assoc", "assocn2"), "b");
    EXPECT_EQ(Setting("assoc", "associ2"), "Bullring") << "no track has id 200: not written";
    EXPECT_EQ(Setting("assoc", "assocn3"), "old");
}

TEST_F(TrackChoice, AnAssociationMadeInOneRunIsUsedInTheNext) {
    LoadStartupSettings(ctx);
    prompts.tracks = {{true, 0, true}};
    EXPECT_EQ(ChooseTrackForReplay(ctx, "/data/Quarry Cup/final.rpl"), 0);
    ASSERT_TRUE(CanClose(ctx));
    EXPECT_EQ(Setting("assoc", "nassoc"), "1");
    EXPECT_EQ(Setting("assoc", "assocn1"), "quarry cup");
    EXPECT_EQ(Setting("assoc", "associ1"), "Bullring");
    EXPECT_EQ(session.assocCountAtLoad, 1);

    // The next run: a new window's state and prompts over the same settings file.
    TDocument nextDoc(tracks);
    TViewState nextView;
    TSessionState nextSession;
    ScriptedPrompts nextPrompts;
    ProfileFile nextSettings = NextRunSettings();
    TCommandContext next{nextDoc, nextView, nextSession, tracks, nextSettings, nextPrompts};
    LoadStartupSettings(next);
    EXPECT_EQ(ChooseTrackForReplay(next, "/data/Quarry Cup/semi.rpl"), 0);
    EXPECT_TRUE(nextPrompts.log.empty()) << "no dialog";

    // A second association in that run is written as the next pair.
    nextPrompts.tracks = {{true, 1, true}};
    EXPECT_EQ(ChooseTrackForReplay(next, "/data/harbour/r.rpl"), 1);
    ASSERT_TRUE(CanClose(next));
    EXPECT_EQ(Setting("assoc", "nassoc"), "2");
    EXPECT_EQ(Setting("assoc", "assocn1"), "quarry cup");
    EXPECT_EQ(Setting("assoc", "assocn2"), "harbour");
    EXPECT_EQ(Setting("assoc", "associ2"), "Oval");
}

}  // namespace
}  // namespace commands_test
