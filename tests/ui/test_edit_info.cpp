// The Edit Replay Info dialog: the name edit's limit, the colour swatch and the colour choice.
#include <gtest/gtest.h>

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "UiTestSupport.h"
#include "app/TEditInfoDlg.h"

using namespace ui_test;

namespace {

TEditInfoXfer Lap(const std::string& name, Rgb colour = Rgb{255, 0, 0}) {
    TEditInfoXfer x;
    x.name = name;
    x.colour = colour;
    return x;
}

void Type(QLineEdit* edit, QChar c) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &release);
}

}  // namespace

TEST(EditInfo, ShowsTheNameAndColourAndGivesThemBackUntouched) {
    TEditInfo dlg(Lap("Ann Quill", Rgb{10, 20, 30}));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Edit Replay Info"));
    auto* name = Find<QLineEdit>(&dlg, "nameEdit");
    auto* swatch = Find<QFrame>(&dlg, "colourSwatch");
    ASSERT_TRUE(name && swatch);
    EXPECT_EQ(name->property("controlId").toInt(), 101);
    EXPECT_EQ(swatch->property("controlId").toInt(), 4091);
    EXPECT_EQ(Find<QPushButton>(&dlg, "changeButton")->text(), QStringLiteral("&Change"));
    EXPECT_EQ(name->text(), QStringLiteral("Ann Quill"));
    EXPECT_EQ(Find<QLabel>(&dlg, "nameLabel")->text(), QStringLiteral("Driver &Name"));
    EXPECT_EQ(Find<QLabel>(&dlg, "nameLabel")->buddy(), name);
    EXPECT_EQ(Find<QLabel>(&dlg, "colourLabel")->text(), QStringLiteral("Line Color"));
    EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(10, 20, 30));
    const TEditInfoXfer out = dlg.Result();
    EXPECT_EQ(out.name, "Ann Quill");
    EXPECT_EQ(out.colour, (Rgb{10, 20, 30}));
}

TEST(EditInfo, TheNameEditTakes31CharactersAndNoMore) {
    const std::string thirtyOne(31, 'a');
    TEditInfo dlg(Lap(thirtyOne));
    auto* name = Find<QLineEdit>(&dlg, "nameEdit");
    EXPECT_EQ(name->maxLength(), 31);
    EXPECT_EQ(name->text().size(), 31);
    name->end(false);
    Type(name, QLatin1Char('b'));
    EXPECT_EQ(name->text(), Q(thirtyOne));

    name->backspace();
    Type(name, QLatin1Char('b'));
    EXPECT_EQ(dlg.Result().name, std::string(30, 'a') + "b");
}

TEST(EditInfo, AnUntouchedNameKeepsItsBytesAndAnEditedOneFitsTheField) {
    // Bytes that are not UTF-8 survive an OK without an edit.
    const std::string raw = "J\xe9r\xf4me";
    TEditInfo dlg(Lap(raw));
    EXPECT_EQ(dlg.Result().name, raw);

    // Each letter the file's code page has is one byte of the field: sixteen accented
    // letters are sixteen bytes and stay whole, and typing stops at 31.
    const QString wide(16, QChar(0x00e9));
    auto* name = Find<QLineEdit>(&dlg, "nameEdit");
    name->setText(wide);
    name->setModified(true);
    EXPECT_EQ(QString::fromStdString(dlg.Result().name), wide);
    name->setText(QString(31, QChar(0x00fc)));
    Type(name, QChar(0x00fc));
    EXPECT_EQ(name->text().size(), 31);

    // A letter no stored name can hold cannot be typed (a Polish L with stroke, an emoji);
    // one that can (a euro sign, byte 0x80) can.
    name->setText(QStringLiteral("Jan"));
    Type(name, QChar(0x0141));
    EXPECT_EQ(name->text(), QStringLiteral("Jan"));
    Type(name, QChar(0x20ac));
    EXPECT_EQ(name->text(), QStringLiteral("Jan\u20ac"));

    EXPECT_EQ(TEditInfo::FitName(QStringLiteral("abc")), "abc");
    EXPECT_EQ(TEditInfo::FitName(QString(40, QLatin1Char('z'))), std::string(31, 'z'));
    const QString emoji = QStringLiteral("J\u00f6rg ") + QString::fromUcs4(U"\U0001F3C1");
    EXPECT_EQ(TEditInfo::FitName(emoji), "J\u00f6rg ?");
}

TEST(EditInfo, ChangeAsksFromTheCurrentColourAndOnlyOkReplacesIt) {
    TEditInfo dlg(Lap("Bo", Rgb{1, 2, 3}));
    std::vector<QColor> asked;
    std::optional<QColor> answer = QColor(200, 100, 50);
    dlg.SetChooseColour([&](const QColor& initial, QWidget*) {
        asked.push_back(initial);
        return answer;
    });
    Click(&dlg, "changeButton");
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QColor(1, 2, 3));
    EXPECT_EQ(Find<QFrame>(&dlg, "colourSwatch")->palette().color(QPalette::Window),
              QColor(200, 100, 50));
    EXPECT_EQ(dlg.Result().colour, (Rgb{200, 100, 50}));

    answer = std::nullopt;  // the colour dialog cancelled
    Click(&dlg, "changeButton");
    EXPECT_EQ(asked.back(), QColor(200, 100, 50));
    EXPECT_EQ(dlg.Result().colour, (Rgb{200, 100, 50}));
    EXPECT_EQ(dlg.Result().name, "Bo");
}

TEST(EditInfo, HelpOpensTopicThreeAndIsDisabledWithoutHelp) {
    TEditInfo dlg(Lap("Cy"));
    auto* help = Find<QPushButton>(&dlg, "help");
    EXPECT_FALSE(help->isEnabled());
    std::vector<int> topics;
    dlg.SetHelpHandler([&](int t) { topics.push_back(t); });
    help->click();
    EXPECT_EQ(topics, std::vector<int>{3});
}
