#include "publish/ScriptScrambler.h"

#include "PublishTestSupport.h"
#include "publish/ConfigScriptWriter.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

std::string defaultScript() {
    return ConfigScriptWriter::scriptText(test::published(PlayerOptions{}), {});
}

std::string repeated(std::string_view unit, int count) {
    std::string out;
    for (int i = 0; i < count; ++i) {
        out += unit;
    }
    return out;
}

const char* const kPrelude = "function unknown(){\r\n"
                             "var f_st1 = 0.4;\r\n"
                             "var f_st2 = 0.15;\r\n"
                             "var f_st3 = 0.314759;\r\n"
                             "var f_st4 = 0.002;\r\n"
                             "var f_st5 = 0.83;\r\n"
                             "var f_st6 = 0.557;\r\n"
                             "var f_st7 = 0.5;\r\n"
                             "var f_st8 = 0.99991;\r\n"
                             "var f_st9 = 0.46012;\r\n"
                             "var f_st0 = 0.370;\r\n"
                             "\r\n"
                             "var s_icon1 = \"FNLS SFjF gwgweghrgggtt\";\r\n"
                             "var s_icon2 = \"FNLS Fgg hhxhkk332Bhdkd\";\r\n"
                             "var s_icon3 = \"FNLS KtrseE jmmf keOY37\";\r\n"
                             "var s_icon4 = \"FNLK 1665HfDWdlghfffggg\";\r\n"
                             "\r\n"
                             "f_st1 = f_st2 + f_st3/f_st5 + f_st1/f_st2;\r\n"
                             "f_st2 = f_st3 + f_st5/f_st1 + f_st3/f_st2;\r\n"
                             "f_st3 = f_st4 + f_st5/f_st2 + f_st4/f_st2;\r\n"
                             "\r\n"
                             "icon1 = icon2 + icon3;\r\n"
                             "\r\n"
                             "//resize *********************************************\r\n"
                             "\r\n"
                             "icon4 = icon1 + icon3;\r\n"
                             "\r\n"
                             "f_st7 = f_st3 + f_st3/f_st5 + f_st6/f_st1;\r\n"
                             "f_st8 = f_st2 + f_st7/f_st2 + f_st3/f_st5;\r\n"
                             "f_st9 = f_st1 + f_st7/f_st3 + f_st4/f_st1;\r\n"
                             "\r\n"
                             "};";

TEST(ScriptScrambler, JoinedDefaultScriptMatchesTheDocumentedSqueeze) {
    const std::string joined = ScriptScrambler::joinedText(defaultScript());
    EXPECT_EQ(joined.rfind("var fov=120; var OS_FPS=15; var nSegmentsWidth=128; var "
                           "nSegmentsHeight=128; var vertmax=90;",
                           0),
              0u);
    EXPECT_NE(joined.find("var OS_VOLUME =0.50; var OS_STAT =0; var OS_MODE =0;"),
              std::string::npos);
    EXPECT_NE(joined.find("if(OS_FULL_SCREEN==1){ RENDER_X=window.innerWidth;"), std::string::npos);
    EXPECT_NE(joined.find("HotSpotItem_pos[0] =0; HotSpotItem_time[0] =0;"), std::string::npos);
    EXPECT_NE(joined.find("var OS_COLOR='#000000'; var mousespeed=0.020;"), std::string::npos);
    EXPECT_EQ(joined.back(), ' ');
    EXPECT_EQ(joined.find('\r'), std::string::npos);
}

TEST(ScriptScrambler, BlankLinesVanishAndTabsAreBlanks) {
    EXPECT_EQ(ScriptScrambler::joinedText("a\t=\t1;\r\n \t \t\r\n\r\nb  +  c\r\n"), "a=1; b + c ");
    EXPECT_EQ(ScriptScrambler::joinedText(""), "");
}

TEST(ScriptScrambler, StringLiteralsKeepTheirBlanks) {
    const std::string script = "HotSpotItem_title[2] = \"A - B\";\r\n"
                               "HotSpotItem_title[3] = \"Room (1)\";\r\n"
                               "HotSpotItem_title[4] = \"a   b\\\" , c\";\r\n"
                               "var s = 'x = y' ;\r\n";
    EXPECT_EQ(ScriptScrambler::joinedText(script),
              "HotSpotItem_title[2]=\"A - B\"; HotSpotItem_title[3]=\"Room (1)\"; "
              "HotSpotItem_title[4]=\"a   b\\\" , c\"; var s='x = y'; ");
}

TEST(ScriptScrambler, EscapesAndHidesDigitsAsDocumented) {
    EXPECT_EQ(ScriptScrambler::escaped("abc"), "%61%62%63");
    EXPECT_EQ(ScriptScrambler::hiddenDigits("%61%62%63"), "\x05"
                                                          "1\x05"
                                                          "2\x05"
                                                          "3");
    EXPECT_EQ(ScriptScrambler::hiddenDigits("%7A%20%30%4F%5B%0D%E9"), "\x08"
                                                                      "A\x07"
                                                                      "0\x01"
                                                                      "0\x02"
                                                                      "F\x03"
                                                                      "B%0D%E9");
    // Characters outside ASCII stay whole so that unescape restores them.
    EXPECT_EQ(ScriptScrambler::escaped("Я"), "%u042F");
    EXPECT_EQ(ScriptScrambler::escaped("é😀"), "%u00E9%uD83D%uDE00");
    // A byte that is not well-formed UTF-8 stands for itself and never takes
    // the next character with it, such as the backslash before a quote.
    EXPECT_EQ(ScriptScrambler::escaped("\xC3\\\"\xE2"), "%u00C3%5C%22%u00E2");
}

TEST(ScriptScrambler, EvalExpressionCarriesRawControlBytes) {
    const std::string expected = std::string("eval(unescape((\"\x05"
                                             "1\")") +
                                 ".replace(/\x08/g,\"%7\")" + ".replace(/\x05/g,\"%6\")" +
                                 ".replace(/\x03/g,\"%5\")" + ".replace(/\x02/g,\"%4\")" +
                                 ".replace(/\x01/g,\"%3\")" + ".replace(/\x07/g,\"%2\")" + "));";
    EXPECT_EQ(ScriptScrambler::evalExpression("\x05"
                                              "1"),
              expected);
}

TEST(ScriptScrambler, FileLayoutIsPreludeBreaksPairsEvalPairsBreaks) {
    const std::string script = defaultScript();
    const std::string out = ScriptScrambler::scrambled(script);
    const std::string eval = ScriptScrambler::evalExpression(ScriptScrambler::hiddenDigits(
        ScriptScrambler::escaped(ScriptScrambler::joinedText(script))));
    const std::string pairs = repeated(" \t", 2000);
    const std::string breaks = repeated("\r\n", 100);
    EXPECT_EQ(out, kPrelude + breaks + pairs + eval + pairs + breaks);
    EXPECT_EQ(eval.find_first_of("\r\n"), std::string::npos);
}

TEST(ScriptScrambler, CyrillicTitleGivesPureAsciiOutput) {
    HotSpotItem item{"http://example.org/", "Зал №1 — вход", 0, 1.0, 1.0, 0};
    HotSpotTable table;
    table.put(1, item);
    const std::string out = ScriptScrambler::scrambled(
        ConfigScriptWriter::scriptText(test::published(PlayerOptions{}), table));
    for (const char c : out) {
        ASSERT_LT(static_cast<unsigned char>(c), 0x80u);
    }
    EXPECT_NE(out.find("%u0417%u0430%u043B"), std::string::npos); // "Зал"
}

TEST(ScriptScrambler, ScrambleFileRewritesInPlace) {
    test::ScratchFolder dir;
    const auto path = dir.path() / "cn0.js";
    test::writeBytes(path, defaultScript());
    ASSERT_FALSE(ScriptScrambler::scrambleFile(path));
    EXPECT_EQ(test::readBytes(path), ScriptScrambler::scrambled(defaultScript()));
    const FileResult missing = ScriptScrambler::scrambleFile(dir.path() / "none.js");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->path, (dir.path() / "none.js").string());
}

} // namespace
} // namespace qm
