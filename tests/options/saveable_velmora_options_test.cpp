#include "options/saveable_velmora_options.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>
#include <cstdlib>
#include <memory>

#include "tests/support/config_home.h"

namespace velmora {
namespace {

using test::ConfigHome;

const auto* const kConfigHome = ::testing::AddGlobalTestEnvironment(new ConfigHome);

class SaveableOptionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const QString folder = ConfigHome::Path() + "/Kelgard";
        QFile::remove(folder);
        ASSERT_TRUE(QDir().mkpath(folder));
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
        store.setValue(name, value);
        store.sync();
    }

    // The settings as a record loads them now.
    static KelVelmoraOptions Stored() {
        KelSaveableVelmoraOptions stored;
        stored.LoadFromRegistry();
        KelVelmoraOptions copy;
        copy.Assign(stored);
        return copy;
    }
};

TEST_F(SaveableOptionsTest, EmptyStoreGivesDefaults) {
    const KelVelmoraOptions options = Stored();
    EXPECT_EQ(options.MinimumKeywordCount, 2);
    EXPECT_EQ(options.MaximumKeywordCount, 10);
    EXPECT_EQ(options.KeywordOneInEvery, 10);
    EXPECT_EQ(options.MinimumRecommendedTags, 2);
    EXPECT_EQ(options.MaximumRecommendedTags, 20);
    EXPECT_EQ(options.KeywordCase, KeywordCaseMode::CaseInsensitiveMixed);
    EXPECT_EQ(options.KeywordCountBeforeSpamming, 3);
    EXPECT_TRUE(options.CompressionEnabled);
    EXPECT_TRUE(options.WarnBeforeCompressing);
    EXPECT_EQ(options.StopWords.size(), 130U);
}

TEST_F(SaveableOptionsTest, OnlyLoadReadsTheStore) {
    Put("MaximumRecommendedTags", 33);
    KelSaveableVelmoraOptions options;
    EXPECT_EQ(options.MaximumRecommendedTags, 20);
    options.LoadFromRegistry();
    EXPECT_EQ(options.MaximumRecommendedTags, 33);
    // A record sees what another saved only when it loads again.
    Put("MaximumRecommendedTags", 44);
    EXPECT_EQ(options.MaximumRecommendedTags, 33);
    options.LoadFromRegistry();
    EXPECT_EQ(options.MaximumRecommendedTags, 44);
}

TEST_F(SaveableOptionsTest, MinimumAboveMaximumIsLowered) {
    Put("MinimumKeywordCount", 15);
    Put("MaximumKeywordCount", 12);
    Put("MinimumRecommendedTags", 15);
    Put("MaximumRecommendedTags", 12);
    const KelVelmoraOptions options = Stored();
    EXPECT_EQ(options.MinimumKeywordCount, 12);
    EXPECT_EQ(options.MaximumKeywordCount, 12);
    EXPECT_EQ(options.MinimumRecommendedTags, 12);
    EXPECT_EQ(options.MaximumRecommendedTags, 12);
}

TEST_F(SaveableOptionsTest, StoredNumbersAreCorrectedOnLoad) {
    const std::pair<int, int> oneInEvery[] = {{0, 10}, {-5, 10}, {250, 100}, {100, 100}, {7, 7}};
    for (const auto& [stored, loaded] : oneInEvery) {
        Put("KeywordOneInEvery", stored);
        EXPECT_EQ(Stored().KeywordOneInEvery, loaded) << stored;
    }
    const std::pair<int, int> keywordCase[] = {{258, 2}, {256, 2}, {7, 7}, {-1, 255}};
    for (const auto& [stored, loaded] : keywordCase) {
        Put("KeywordCase", stored);
        EXPECT_EQ(static_cast<int>(Stored().KeywordCase), loaded) << stored;
    }
    Put("CompressionDisabled", 5);
    Put("KeywordCountBeforeSpamming", -2);
    const KelVelmoraOptions options = Stored();
    EXPECT_FALSE(options.CompressionEnabled);
    EXPECT_TRUE(options.WarnBeforeCompressing);
    EXPECT_EQ(options.KeywordCountBeforeSpamming, 3);
}

TEST_F(SaveableOptionsTest, OnlyWholeDecimalNumbersRead) {
    const char* const notNumbers[] = {"abc",  "12abc", " 5",         "5 ",         "+5",
                                      "0x10", "2.5",   "4294967301", "2147483648", ""};
    for (const char* text : notNumbers) {
        Put("MaximumRecommendedTags", QString::fromLatin1(text));
        EXPECT_EQ(Stored().MaximumRecommendedTags, 20) << text;
    }
    Put("MaximumRecommendedTags", QStringLiteral("2147483647"));
    EXPECT_EQ(Stored().MaximumRecommendedTags, 2147483647);
    Put("NoWarnBeforeCompressing", QStringLiteral("yes"));
    EXPECT_TRUE(Stored().WarnBeforeCompressing);
}

TEST_F(SaveableOptionsTest, SaveWritesAllNineAndLoadsBack) {
    KelSaveableVelmoraOptions options;
    options.MinimumKeywordCount = 3;
    options.MaximumKeywordCount = 30;
    options.KeywordOneInEvery = 40;
    options.MinimumRecommendedTags = 5;
    options.MaximumRecommendedTags = 50;
    options.KeywordCase = KeywordCaseMode::CaseInsensitiveLower;
    options.CompressionEnabled = false;
    options.WarnBeforeCompressing = true;
    options.KeywordCountBeforeSpamming = 6;
    options.SaveToRegistry();

    QSettings store = Store();
    EXPECT_EQ(store.allKeys().size(), 9);
    EXPECT_EQ(store.value("CompressionDisabled").toString(), "1");
    EXPECT_EQ(store.value("NoWarnBeforeCompressing").toString(), "0");
    EXPECT_EQ(store.value("KeywordCase").toString(), "3");

    const KelVelmoraOptions loaded = Stored();
    EXPECT_EQ(loaded.MinimumKeywordCount, 3);
    EXPECT_EQ(loaded.MaximumKeywordCount, 30);
    EXPECT_EQ(loaded.KeywordOneInEvery, 40);
    EXPECT_EQ(loaded.MinimumRecommendedTags, 5);
    EXPECT_EQ(loaded.MaximumRecommendedTags, 50);
    EXPECT_EQ(loaded.KeywordCase, KeywordCaseMode::CaseInsensitiveLower);
    EXPECT_FALSE(loaded.CompressionEnabled);
    EXPECT_TRUE(loaded.WarnBeforeCompressing);
    EXPECT_EQ(loaded.KeywordCountBeforeSpamming, 6);
}

TEST_F(SaveableOptionsTest, RefusedWriteNamesValueAndFile) {
    KelSaveableVelmoraOptions options;
    const QString folder = ConfigHome::Path() + "/Kelgard";
    ASSERT_TRUE(QDir(folder).removeRecursively());
    QFile blocker(folder);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    try {
        options.SaveToRegistry();
        FAIL() << "the write was not refused";
    } catch (const SettingsError& error) {
        const std::string message = error.what();
        EXPECT_EQ(message.rfind("Failed to set data for 'MinimumKeywordCount'", 0), 0U) << message;
        EXPECT_NE(message.find((folder + "/HtmlVelmora.conf").toStdString()), std::string::npos)
            << message;
        EXPECT_GT(message.size(), message.find("': ") + 3) << message;
    }
}

}  // namespace
}  // namespace velmora
