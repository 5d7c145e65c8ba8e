#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render_options.h"

namespace {

struct Parsed {
    std::vector<std::string> words;  // the options point into these
    int ok;
    RenderOptions options;
    std::string error;
};

Parsed Parse(std::vector<std::string> words)
{
    Parsed p{};
    p.words = std::move(words);
    p.words.insert(p.words.begin(), "vimra-render");
    std::vector<char*> argv;
    for (std::string& w : p.words) {
        argv.push_back(w.data());
    }
    const char* error = "";
    p.ok = ParseRenderOptions(static_cast<int>(argv.size()), argv.data(), 424242, p.options, error);
    p.error = error;
    return p;
}

TEST(RenderOptions, DefaultsAreNowOneFrameAt1024By768)
{
    const Parsed p = Parse({});
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.options.time, 424242u);
    EXPECT_EQ(p.options.frames, 1);
    EXPECT_EQ(p.options.width, 1024);
    EXPECT_EQ(p.options.height, 768);
    EXPECT_EQ(p.options.pngPattern, nullptr);
    EXPECT_EQ(p.options.drawLog, 0);
}

TEST(RenderOptions, AcceptsEveryOptionAtItsLimits)
{
    const Parsed p = Parse({"--draw-log", "--time", "4294967295", "--frames", "1000000", "--size",
                            "16384x1", "--png", "out/f-%04d.png"});
    ASSERT_TRUE(p.ok) << p.error;
    EXPECT_EQ(p.options.time, 4294967295u);
    EXPECT_EQ(p.options.frames, 1000000);
    EXPECT_EQ(p.options.width, 16384);
    EXPECT_EQ(p.options.height, 1);
    EXPECT_STREQ(p.options.pngPattern, "out/f-%04d.png");
    EXPECT_EQ(p.options.drawLog, 1);
    EXPECT_TRUE(Parse({"--time", "0", "--frames", "0", "--size", "1x16384"}).ok);
}

TEST(RenderOptions, RejectsBadCommandLines)
{
    const std::vector<std::vector<std::string>> bad = {
        {"--time"},
        {"--time", "4294967296"},
        {"--time", "-1"},
        {"--time", "+5"},
        {"--time", ""},
        {"--time", "12a"},
        {"--time=5"},
        {"--time", "1", "--time", "1"},
        {"--draw-log", "--draw-log"},
        {"--frames", "1000001"},
        {"--frames", "0x10"},
        {"--size", "0x768"},
        {"--size", "1024x0"},
        {"--size", "16385x10"},
        {"--size", "1024"},
        {"--size", "x768"},
        {"--size", "1024x"},
        {"--size", "1024x768x2"},
        {"--size", "1024X768"},
        {"--size", "0000001024x768"},
        {"--png", "frame.png"},
        {"--png", "%d-%d.png"},
        {"--png", "%s.png"},
        {"--png", "%5d.png"},
        {"--png", "%%d.png"},
        {"--png", "%0d.png"},
        {"--png", "%-4d.png"},
        {"--bogus"},
        {"frames"},
        {"-t", "1"},
    };
    for (const auto& words : bad) {
        const Parsed p = Parse(words);
        std::string line;
        for (const auto& w : words) {
            line += "[" + w + "]";
        }
        EXPECT_FALSE(p.ok) << line;
        EXPECT_FALSE(p.error.empty()) << line;
        EXPECT_EQ(p.error.find('\n'), std::string::npos) << line;
    }
}

TEST(RenderOptions, FrameNamesReplaceOnlyTheConversion)
{
    struct Case {
        const char* pattern;
        int tick;
        const char* name;
    } const cases[] = {
        {"f-%04d.png", 7, "f-0007.png"},
        {"f-%d.png", 123456, "f-123456.png"},
        {"%02d", 100, "100"},
        {"a%db", 1, "a1b"},
        {"%010d.png", 42, "0000000042.png"},
    };
    for (const Case& c : cases) {
        char out[64];
        ASSERT_TRUE(FormatFrameName(c.pattern, c.tick, out, sizeof out)) << c.pattern;
        EXPECT_STREQ(out, c.name);
    }
    char tiny[5];
    EXPECT_FALSE(FormatFrameName("f-%04d.png", 1, tiny, sizeof tiny));
}

}  // namespace
