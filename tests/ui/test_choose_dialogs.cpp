// Choose Track and Select a Lap driven through their controls.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "UiTestSupport.h"
#include "replay/ui/TChooseLap.h"
#include "track/ui/TChooseTrack.h"

using namespace ui_test;

namespace {

TChooseTrackXfer Tracks(const std::string& scope) {
    TChooseTrackXfer x;
    x.trackNames = {"Ashby Park", "Marlow Ring", "Kestrel Downs"};
    x.scopeText = scope;
    x.selection = 1;  // where the command wants the dialog to start
    return x;
}

}  // namespace

TEST(ChooseTrack, StartsOnTheGivenTrackWithTheScopeAndTheRememberCaption) {
    TChooseTrack dlg(Tracks("for replays"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Choose Track"));
    auto* tracks = Find<QComboBox>(&dlg, "trackList");
    auto* remember = Find<QCheckBox>(&dlg, "remember");
    auto* scope = Find<QLabel>(&dlg, "scopeText");
    ASSERT_TRUE(tracks && remember && scope);
    EXPECT_EQ(tracks->property("controlId").toInt(), 101);
    EXPECT_EQ(remember->property("controlId").toInt(), 102);
    EXPECT_EQ(scope->property("controlId").toInt(), 1855);
    EXPECT_NE(dlg.findChild<QLabel*>(QStringLiteral("chooseLabel")), nullptr);
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("chooseLabel"))->text(),
              QStringLiteral("Choose the track for this replay"));

    ASSERT_EQ(tracks->count(), 3);
    EXPECT_EQ(tracks->itemText(1), QStringLiteral("Marlow Ring"));
    EXPECT_EQ(tracks->currentIndex(), 1);
    EXPECT_EQ(scope->text(), QStringLiteral("for replays"));
    // Regression: a '<' in a directory name was taken as markup.
    EXPECT_EQ(scope->textFormat(), Qt::PlainText);
    EXPECT_EQ(remember->text(), QStringLiteral("Always use Marlow Ring"));
    EXPECT_FALSE(remember->isChecked());
    EXPECT_FALSE(remember->isHidden());
    EXPECT_FALSE(scope->isHidden());

    tracks->setCurrentIndex(2);
    EXPECT_EQ(remember->text(), QStringLiteral("Always use Kestrel Downs"));
    remember->click();
    const TChooseTrackXfer out = dlg.Result();
    EXPECT_EQ(out.selection, 2);
    EXPECT_TRUE(out.remember);
    EXPECT_EQ(out.trackNames, Tracks("").trackNames);

    // A selection outside the list starts on the first track.
    TChooseTrackXfer stale = Tracks("for replays");
    stale.selection = 3;
    TChooseTrack fresh(stale);
    EXPECT_EQ(Find<QComboBox>(&fresh, "trackList")->currentIndex(), 0);
    EXPECT_EQ(Find<QCheckBox>(&fresh, "remember")->text(), QStringLiteral("Always use Ashby Park"));
}

TEST(ChooseTrack, RememberCaptionTakesAtMost49CharactersAndShowsAmpersands) {
    const std::string fortyNine(49, 'n');
    EXPECT_EQ(TChooseTrack::RememberCaption(fortyNine + "XYZ"),
              QStringLiteral("Always use ") + Q(fortyNine));
    EXPECT_EQ(TChooseTrack::RememberCaption("Short"), QStringLiteral("Always use Short"));
    EXPECT_EQ(TChooseTrack::RememberCaption(""), QStringLiteral("Always use "));

    TChooseTrackXfer x = Tracks("for this directory");
    x.trackNames = {"Hill & Dale"};
    TChooseTrack dlg(x);
    // Doubled so that the '&' is shown and not taken as a shortcut marker.
    EXPECT_EQ(Find<QCheckBox>(&dlg, "remember")->text(), QStringLiteral("Always use Hill && Dale"));
}

TEST(ChooseTrack, AnAmbiguousPathHidesTheBoxAndTheScopeAndNeverRemembers) {
    TChooseTrackXfer x = Tracks("");
    x.remember = true;
    TChooseTrack dlg(x);
    dlg.show();
    auto* remember = Find<QCheckBox>(&dlg, "remember");
    auto* scope = Find<QLabel>(&dlg, "scopeText");
    EXPECT_FALSE(remember->isVisible());
    EXPECT_FALSE(scope->isVisible());
    EXPECT_EQ(remember->text(), QStringLiteral("Always use <none>"));
    EXPECT_EQ(scope->text(), QStringLiteral("for <none>"));
    Find<QComboBox>(&dlg, "trackList")->setCurrentIndex(1);
    Click(&dlg, "ok");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Result().selection, 1);
    EXPECT_FALSE(dlg.Result().remember);
}

TEST(ChooseTrack, CancelRejectsAndAnEmptyTrackListChoosesNothing) {
    TChooseTrack dlg(Tracks("for x"));
    dlg.show();
    Click(&dlg, "cancel");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    TChooseTrackXfer none;
    none.scopeText = "for x";
    TChooseTrack empty(none);
    EXPECT_EQ(empty.Result().selection, -1);
    EXPECT_EQ(Find<QCheckBox>(&empty, "remember")->text(), QStringLiteral("Always use "));
}

TEST(ChooseLap, ListsTheTextsStartsOnTheGivenLapAndGivesTheChosenOne) {
    TChooseLapXfer x;
    x.texts = {"Ann Quill   83.125 s=101.250 mph", "Bo Harrow   84.000 s=100.188 mph"};
    x.selection = 0;
    TChooseLap dlg(x);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Select a Lap"));
    auto* combo = Find<QComboBox>(&dlg, "lapCombo");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->property("controlId").toInt(), 101);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(1), Q(x.texts[1]));
    EXPECT_EQ(combo->currentIndex(), 0);
    combo->setCurrentIndex(1);
    dlg.show();
    Click(&dlg, "ok");
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Result().selection, 1);
    EXPECT_EQ(dlg.Result().texts, x.texts);

    TChooseLapXfer empty;
    TChooseLap none(empty);
    EXPECT_EQ(none.Result().selection, -1);
}
