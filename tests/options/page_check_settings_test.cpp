#include "options/page_check_settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>
#include <cstdlib>
#include <memory>

#include "options/site_fix_settings.h"
#include "tests/support/config_home.h"

namespace velmora {
namespace {

using test::ConfigHome;

const auto* const kConfigHome = ::testing::AddGlobalTestEnvironment(new ConfigHome);

class PageCheckSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings store = Store();
        store.clear();
        store.sync();
        ASSERT_EQ(store.status(), QSettings::NoError);
    }

    static QSettings Store() {
        return QSettings(QSettings::NativeFormat, QSettings::UserScope, "Kelgard", "HtmlVelmora");
    }

    static void Put(const QString& name, const QVariant& value) {
        QSettings store = Store();
        store.setValue("PageChecks/" + name, value);
        store.sync();
    }
};

TEST_F(PageCheckSettingsTest, EmptyStoreGivesDefaults) {
    EXPECT_EQ(PageCheckSettings().Load(), PageCheckOptions());
}

TEST_F(PageCheckSettingsTest, SaveThenLoadGivesBackEverySetting) {
    PageCheckOptions options;
    options.TitleMinimumCharacters = 20;
    options.TitleMaximumCharacters = 70;
    options.TitleMaximumPixels = 580;
    options.DescriptionMinimumCharacters = 50;
    options.DescriptionMaximumCharacters = 155;
    options.DescriptionMaximumPixels = 900;
    options.ContentMinimumWords = 50;
    options.ContentGoodWords = 250;
    options.SetEnabled(CheckId::Canonical, false);
    options.SetEnabled(CheckId::DuplicateTitle, false);
    PageCheckSettings().Save(options);
    EXPECT_EQ(PageCheckSettings().Load(), options);
    EXPECT_EQ(Store().value("PageChecks/CanonicalDisabled").toInt(), 1);
    EXPECT_EQ(Store().value("PageChecks/TitleDisabled").toInt(), 0);
    EXPECT_EQ(Store().value("PageChecks/TitleMaximumPixels").toInt(), 580);
}

TEST_F(PageCheckSettingsTest, OutOfRangeOrUnreadableValuesReadAsDefaults) {
    Put("TitleMinimumCharacters", 0);
    Put("TitleMaximumCharacters", 501);
    Put("TitleMaximumPixels", -600);
    Put("DescriptionMaximumPixels", "wide");
    Put("DescriptionMinimumCharacters", "80.5");
    Put("ContentGoodWords", "4294967296");
    Put("ContentMinimumWords", 100000);
    const PageCheckOptions options = PageCheckSettings().Load();
    EXPECT_EQ(options.TitleMinimumCharacters, 30);
    EXPECT_EQ(options.TitleMaximumCharacters, 60);
    EXPECT_EQ(options.TitleMaximumPixels, 600);
    EXPECT_EQ(options.DescriptionMaximumPixels, 920);
    EXPECT_EQ(options.DescriptionMinimumCharacters, 70);
    EXPECT_EQ(options.ContentGoodWords, 300);
    // In range, but above the good limit: it comes down to it.
    EXPECT_EQ(options.ContentMinimumWords, 300);
}

TEST_F(PageCheckSettingsTest, EdgesOfTheRangesAreKept) {
    Put("TitleMinimumCharacters", 1);
    Put("TitleMaximumCharacters", 500);
    Put("DescriptionMaximumPixels", 10000);
    const PageCheckOptions options = PageCheckSettings().Load();
    EXPECT_EQ(options.TitleMinimumCharacters, 1);
    EXPECT_EQ(options.TitleMaximumCharacters, 500);
    EXPECT_EQ(options.DescriptionMaximumPixels, 10000);
}

TEST_F(PageCheckSettingsTest, SwitchesAreOnUnlessStoredNonZero) {
    Put("ImagesDisabled", 1);
    Put("LinksDisabled", 7);
    Put("ContentDisabled", 0);
    Put("SocialDisabled", "yes");
    const PageCheckOptions options = PageCheckSettings().Load();
    EXPECT_FALSE(options.Enabled(CheckId::Images));
    EXPECT_FALSE(options.Enabled(CheckId::Links));
    EXPECT_TRUE(options.Enabled(CheckId::Content));
    // A switch that is no number reads as 0: on.
    EXPECT_TRUE(options.Enabled(CheckId::Social));
    EXPECT_TRUE(options.Enabled(CheckId::Title));
}

TEST_F(PageCheckSettingsTest, KeywordSettingsAreLeftAlone) {
    QSettings store = Store();
    store.setValue("MinimumKeywordCount", 5);
    store.sync();
    PageCheckSettings().Save(PageCheckOptions());
    EXPECT_EQ(Store().value("MinimumKeywordCount").toInt(), 5);
    EXPECT_TRUE(Store().childGroups().contains("PageChecks"));
}

TEST_F(PageCheckSettingsTest, RefusedWriteNamesTheFirstValue) {
    const QString file = Store().fileName();
    QFile::remove(file);
    ASSERT_TRUE(QDir().mkpath(file));  // a folder where the settings file should be
    try {
        PageCheckSettings().Save(PageCheckOptions());
        ADD_FAILURE() << "no error";
    } catch (const SettingsError& error) {
        EXPECT_NE(std::string(error.what())
                      .find("Failed to set data for 'PageChecks/TitleMinimumCharacters'"),
                  std::string::npos)
            << error.what();
    }
    QDir(file).removeRecursively();
}

// The fixes' values are remembered for a folder and found from any page at or below it, never
// from a sibling whose name starts the same.
TEST_F(PageCheckSettingsTest, SiteFixValuesAreFoundFromTheFoldersBelow) {
    const std::string site = "/srv/my site/100% rye";
    SiteFixSettings().Save({site + "/", "https://bakery.example/", "en-GB", std::nullopt});
    SiteFixSettings().Save({site, std::nullopt, std::nullopt, "https://bakery.example/c.png"});
    const SiteFixValues whole{site, "https://bakery.example/", "en-GB",
                              "https://bakery.example/c.png"};
    EXPECT_EQ(SiteFixSettings().Load(site), whole);
    EXPECT_EQ(SiteFixSettings().Load(site + "/shop/rolls/"), whole);
    EXPECT_EQ(SiteFixSettings().Load(site + "x"), SiteFixValues());
    EXPECT_EQ(SiteFixSettings().Load("/srv"), SiteFixValues());
    EXPECT_EQ(SiteFixSettings().Load(""), SiteFixValues());
    // The nearest folder wins over the site above it.
    SiteFixSettings().Save({site + "/en", std::nullopt, "en-US", std::nullopt});
    EXPECT_EQ(SiteFixSettings().Load(site + "/en/shop").lang, "en-US");
    // Replacing forgets what is left out; forgetting a folder leaves the site above it.
    const SiteFixValues english{site + "/en", std::nullopt, std::nullopt,
                                "https://bakery.example/en.png"};
    SiteFixSettings().Replace(english);
    EXPECT_EQ(SiteFixSettings().Load(site + "/en/shop"), english);
    SiteFixSettings().Forget(site + "/en/");
    EXPECT_EQ(SiteFixSettings().Load(site + "/en/shop"), whole);
    SiteFixSettings().Save({"/", "https://example.org/", std::nullopt, std::nullopt});
    EXPECT_EQ(SiteFixSettings().Load("/var/www").folder, "/");
}

}  // namespace
}  // namespace velmora
