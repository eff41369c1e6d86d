#include "page_checks/text_width.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace velmora::page_checks {
namespace {

// The sum of the advances hb-shape gives for the text, in font units.
long long HbShapeAdvance(const std::string& font, const std::string& text) {
    const auto file = std::filesystem::temp_directory_path() /
                      ("velmora-hb-shape-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(file, std::ios::binary) << text;
    const std::string command = "hb-shape --output-format=json --no-glyph-names --text-file='" +
                                file.string() + "' '" + font + "'";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t read = 0;
        while ((read = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
            output.append(buffer, read);
        }
        EXPECT_EQ(::pclose(pipe), 0) << command;
    }
    std::filesystem::remove(file);
    long long sum = 0;
    const std::regex advance("\"ax\":(-?[0-9]+)");
    for (auto it = std::sregex_iterator(output.begin(), output.end(), advance);
         it != std::sregex_iterator(); ++it) {
        sum += std::stoll((*it)[1]);
    }
    EXPECT_TRUE(text.empty() || !output.empty()) << command;
    return sum;
}

TEST(TextWidthMeter, AgreesWithHbShape) {
    const std::string font = TextWidthMeter::FindLiberationSans();
    ASSERT_FALSE(font.empty()) << "Liberation Sans Regular is not installed (fonts-liberation2)";
    const TextWidthMeter meter;
    ASSERT_TRUE(meter.HasFont());
    const std::vector<std::string> titles = {
        "Sourdough Bread & Pastries | The Corner Bakery",
        "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW",
        "iiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiiii",
        "Crème brûlée, façade & naïve café — Été à Zürich",
        "Ωμέγα: Ελληνικά γράμματα στον τίτλο",
        "AVATAR Tokyo “quotes” fi fl ffi",
        "",
    };
    for (const std::string& title : titles) {
        const long long units = HbShapeAdvance(font, title);
        // Liberation Sans has 2048 units per em.
        for (const int size : {14, 20}) {
            const auto expected = static_cast<int>(std::llround(units * size / 2048.0));
            EXPECT_EQ(meter.Width(title, size), expected) << title << " at " << size << " px";
        }
    }
}

TEST(TextWidthMeter, KnownWidths) {
    const TextWidthMeter meter;
    ASSERT_TRUE(meter.HasFont());
    // "Hi" is 1479 + 455 units of 2048: 18.89 px at 20 px, rounded once to 19.
    EXPECT_EQ(meter.Width("Hi", 20), 19);
    EXPECT_EQ(meter.Width("", 20), 0);
}

TEST(TextWidthMeter, WithoutTheFontWidthsAreUnknown) {
    const TextWidthMeter missing("/nonexistent/LiberationSans-Regular.ttf");
    EXPECT_FALSE(missing.HasFont());
    EXPECT_EQ(missing.Width("Title", 20), std::nullopt);

    const auto notAFont = std::filesystem::temp_directory_path() / "velmora-not-a-font.ttf";
    std::ofstream(notAFont) << "not a font";
    const TextWidthMeter broken(notAFont.string());
    EXPECT_FALSE(broken.HasFont());
    EXPECT_EQ(broken.Width("Title", 20), std::nullopt);
    std::filesystem::remove(notAFont);

    const TextWidthMeter none("");
    EXPECT_EQ(none.Width("Title", 14), std::nullopt);
}

TEST(TextWidthMeter, OneMeterServesSeveralThreads) {
    const TextWidthMeter meter;
    const std::string text = "Crème brûlée — Ωμέγα";
    const auto expected = meter.Width(text, 20);
    std::vector<std::thread> threads;
    std::vector<std::optional<int>> widths(4);
    for (std::size_t t = 0; t < widths.size(); ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                widths[t] = meter.Width(text, 20);
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (const auto& width : widths) {
        EXPECT_EQ(width, expected);
    }
}

}  // namespace
}  // namespace velmora::page_checks
