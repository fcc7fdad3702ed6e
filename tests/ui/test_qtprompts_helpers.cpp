// The conversions behind the Qt prompts: filters, initial paths, default extensions and
// message box answers.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include "app/QtPrompts.h"
#include "commands/DocumentCommands.h"
#include "commands/ImportCommands.h"

TEST(QtNameFilters, ConvertsTheProgramsFiltersInOrder) {
    EXPECT_EQ(
        QtNameFilters(kReplayFilter),
        (QStringList{QStringLiteral("All Replays (*.rpl *.rpz)"),
                     QStringLiteral("Replay Files (*.rpl)"),
                     QStringLiteral("Replay Archives (*.rpz)"), QStringLiteral("All files (*)")}));
    EXPECT_EQ(
        QtNameFilters(kDocumentFilter),
        (QStringList{QStringLiteral("Telemetry Files (*.kvl)"), QStringLiteral("All Files (*)")}));
}

TEST(QtNameFilters, AddsPatternsATextDoesNotShowAndCopesWithLooseFilters) {
    EXPECT_EQ(QtNameFilters("Text export|*.txt;*.csv|"),
              QStringList{QStringLiteral("Text export (*.txt *.csv)")});
    // A text that shows other patterns than it filters keeps them and gets the real ones.
    EXPECT_EQ(QtNameFilters("Docs (*.doc)|*.kvl|"),
              QStringList{QStringLiteral("Docs (*.doc) (*.kvl)")});
    // No closing bar, a text without a pattern, blanks around patterns.
    EXPECT_EQ(QtNameFilters("Replays|*.rpl"), QStringList{QStringLiteral("Replays (*.rpl)")});
    EXPECT_EQ(QtNameFilters("Anything"), QStringList{QStringLiteral("Anything (*)")});
    EXPECT_EQ(QtNameFilters("Two| *.a ; *.b |"), QStringList{QStringLiteral("Two (*.a *.b)")});
    EXPECT_EQ(QtNameFilters(""), QStringList{QStringLiteral("(*)")});
}

TEST(FilterIndexForPattern, FindsTheFilterOfASavedPattern) {
    EXPECT_EQ(FilterIndexForPattern(kReplayFilter, "*.rpl;*.rpz"), 0);
    EXPECT_EQ(FilterIndexForPattern(kReplayFilter, "*.rpz"), 2);
    EXPECT_EQ(FilterIndexForPattern(kReplayFilter, "*.*"), 3);
    EXPECT_EQ(FilterIndexForPattern(kReplayFilter, "*.kvl"), 0);
    EXPECT_EQ(FilterIndexForPattern("", "*.kvl"), 0);
}

TEST(SplitInitialPath, SeparatesDirectoryFromNameOrPattern) {
    struct Case {
        std::string in, dir, name;
        bool pattern;
    };
    const Case cases[] = {
        {"./*.kvl", ".", "*.kvl", true},
        {".\\*.rpl", ".", "*.rpl", true},  // as an older settings file holds it
        {"/home/ann/replays/*.rpl;*.rpz", "/home/ann/replays", "*.rpl;*.rpz", true},
        {"/home/ann/lap.kvl", "/home/ann", "lap.kvl", false},
        {"/lap.kvl", "/", "lap.kvl", false},
        {"lap.kvl", "", "lap.kvl", false},
        {"/home/ann/", "/home/ann", "", false},
        {"/home/ann/lap?.kvl", "/home/ann", "lap?.kvl", true},
        {"", "", "", false},
    };
    for (const Case& c : cases) {
        const TInitialPath p = SplitInitialPath(c.in);
        EXPECT_EQ(p.directory, c.dir) << c.in;
        EXPECT_EQ(p.name, c.name) << c.in;
        EXPECT_EQ(p.isPattern, c.pattern) << c.in;
    }
}

TEST(AppendDefaultExtension, OnlyWhenTheFileNameHasNone) {
    EXPECT_EQ(AppendDefaultExtension("/home/ann/lap", "kvl"), "/home/ann/lap.kvl");
    EXPECT_EQ(AppendDefaultExtension("/home/ann/lap.kvl", "kvl"), "/home/ann/lap.kvl");
    EXPECT_EQ(AppendDefaultExtension("/home/ann/lap.txt", "kvl"), "/home/ann/lap.txt");
    EXPECT_EQ(AppendDefaultExtension("/home/a.b/lap", "kvl"),
              "/home/a.b/lap.kvl");  // a dot in a directory
    EXPECT_EQ(AppendDefaultExtension("lap", ""), "lap");
    EXPECT_EQ(AppendDefaultExtension("", "kvl"), "");
    EXPECT_EQ(AppendDefaultExtension("/home/ann/", "kvl"), "/home/ann/");
}

TEST(MessageBoxMapping, IconsButtonsAndAnswers) {
    EXPECT_EQ(QtMessageIcon(TMsgIcon::Exclamation), QMessageBox::Warning);
    EXPECT_EQ(QtMessageIcon(TMsgIcon::Stop), QMessageBox::Critical);
    EXPECT_EQ(QtMessageIcon(TMsgIcon::Question), QMessageBox::Question);
    EXPECT_EQ(QtMessageIcon(TMsgIcon::Information), QMessageBox::Information);
    EXPECT_EQ(QtMessageButtons(TMsgButtons::Ok), QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(QtMessageButtons(TMsgButtons::YesNo), QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(QtMessageButtons(TMsgButtons::YesNoCancel),
              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    EXPECT_EQ(MessageAnswer(QMessageBox::Ok, TMsgButtons::Ok), TMsgAnswer::Ok);
    EXPECT_EQ(MessageAnswer(QMessageBox::NoButton, TMsgButtons::Ok), TMsgAnswer::Ok);
    EXPECT_EQ(MessageAnswer(QMessageBox::Yes, TMsgButtons::YesNo), TMsgAnswer::Yes);
    EXPECT_EQ(MessageAnswer(QMessageBox::No, TMsgButtons::YesNo), TMsgAnswer::No);
    // Closed without a button: the answer that changes nothing.
    EXPECT_EQ(MessageAnswer(QMessageBox::NoButton, TMsgButtons::YesNo), TMsgAnswer::No);
    EXPECT_EQ(MessageAnswer(QMessageBox::Yes, TMsgButtons::YesNoCancel), TMsgAnswer::Yes);
    EXPECT_EQ(MessageAnswer(QMessageBox::No, TMsgButtons::YesNoCancel), TMsgAnswer::No);
    EXPECT_EQ(MessageAnswer(QMessageBox::Cancel, TMsgButtons::YesNoCancel), TMsgAnswer::Cancel);
    EXPECT_EQ(MessageAnswer(QMessageBox::NoButton, TMsgButtons::YesNoCancel), TMsgAnswer::Cancel);
}
