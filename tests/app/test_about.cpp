// The About box filled from version data, and the version data compiled into the program.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include "app/TKorvaleAboutDlg.h"
#include "app/VersionData.h"

namespace {
VersionData Data(const std::string& text) {
    VersionData v;
    v.Parse(text);
    return v;
}
QString Label(TKorvaleAboutDlg& dlg, const char* name) {
    auto* l = dlg.findChild<QLabel*>(QLatin1String(name));
    EXPECT_NE(l, nullptr) << name;
    return l ? l->text() : QString();
}
}  // namespace

TEST(AboutBox, NameVersionLegalNoticeAndSpecialBuild) {
    TKorvaleAboutDlg dlg(
        Data("ProductName=Korvale\nProductVersion=1.2.3\r\n"
             "LegalCopyright=Copyright (C) the authors\nSpecialBuild=nightly 42\n"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("About Korvale"));
    EXPECT_EQ(Label(dlg, "version"), QStringLiteral("Korvale Version 1.2.3"));
    EXPECT_EQ(Label(dlg, "legal"), QStringLiteral("Copyright (C) the authors"));
    EXPECT_EQ(Label(dlg, "specialBuild"), QStringLiteral("nightly 42"));
    EXPECT_FALSE(Label(dlg, "title").isEmpty());
    auto* image = dlg.findChild<QLabel*>(QStringLiteral("image"));
    ASSERT_NE(image, nullptr);
    EXPECT_FALSE(image->pixmap().isNull());
    EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("specialBuild"))->alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    auto* ok = dlg.findChild<QPushButton*>(QStringLiteral("ok"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    ok->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST(AboutBox, MissingValuesLeaveTheInitialTexts) {
    TKorvaleAboutDlg onlyVersion(Data("ProductVersion=1.2.3\n"));
    EXPECT_EQ(Label(onlyVersion, "version"), QStringLiteral("Version"));
    EXPECT_EQ(Label(onlyVersion, "legal"), QString());
    EXPECT_EQ(Label(onlyVersion, "specialBuild"), QString());

    TKorvaleAboutDlg onlyName(Data("ProductName=Korvale\nSpecialBuild=\n"));
    EXPECT_EQ(Label(onlyName, "version"), QStringLiteral("Version"));
    EXPECT_EQ(Label(onlyName, "specialBuild"), QString());

    TKorvaleAboutDlg none(Data(""));
    EXPECT_EQ(Label(none, "version"), QStringLiteral("Version"));
}

TEST(VersionData, ParsingSkipsLinesWithoutANameAndKeepsEqualsInValues) {
    const VersionData v = Data("garbage\n=nameless\nProductName=A=B\nEmpty=\n");
    EXPECT_EQ(v.ProductName(), "A=B");
    EXPECT_EQ(v.Value("Empty"), std::nullopt);
    EXPECT_EQ(v.Value(""), std::nullopt);
}

TEST(VersionData, TheProgramCarriesItsOwnVersionData) {
    const VersionData v = CompiledVersionData();
    EXPECT_EQ(v.ProductName(), "Korvale");
    ASSERT_TRUE(v.ProductVersion().has_value());
    EXPECT_EQ(*v.ProductVersion(), KORVALE_PROJECT_VERSION);
    EXPECT_TRUE(v.LegalCopyright().has_value());
    TKorvaleAboutDlg dlg(v);
    EXPECT_EQ(
        Label(dlg, "version"),
        QStringLiteral("Korvale Version %1").arg(QString::fromLatin1(KORVALE_PROJECT_VERSION)));
}
