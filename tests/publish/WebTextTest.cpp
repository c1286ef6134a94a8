#include "publish/WebText.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(WebText, JsStringContentEscapesWhatEndsOrBreaksAString) {
    EXPECT_EQ(jsStringContent("plain Зал 1"), "plain Зал 1");
    EXPECT_EQ(jsStringContent("a\"b'c\\d"), "a\\\"b\\'c\\\\d");
    EXPECT_EQ(jsStringContent("l1\r\nl2\tx"), "l1\\r\\nl2\\tx");
    EXPECT_EQ(jsStringContent(std::string("\x01\x1f\x7f", 3)), "\\u0001\\u001F\\u007F");
    EXPECT_EQ(jsStringContent("a\u2028b\u2029c"), "a\\u2028b\\u2029c");
    EXPECT_EQ(jsStringContent("</script><b>"), "<\\/script><b>");
    // Other three-byte characters starting with E2 80 pass through.
    EXPECT_EQ(jsStringContent("a — b"), "a — b");
}

TEST(WebText, HtmlEscapedCoversMarkupAndQuotes) {
    EXPECT_EQ(htmlEscaped("<a href=\"x\">Tom & 'Jerry'</a>"),
              "&lt;a href=&quot;x&quot;&gt;Tom &amp; &#39;Jerry&#39;&lt;/a&gt;");
    EXPECT_EQ(htmlEscaped("Тур 360"), "Тур 360");
}

TEST(WebText, UrlFormsEncodeWhatAUrlCannotHold) {
    EXPECT_EQ(urlFileName("tour 1#a?b%c.mp4"), "tour%201%23a%3Fb%25c.mp4");
    EXPECT_EQ(urlFileName("тур.mp4"), "тур.mp4");
    EXPECT_EQ(urlFileName("hall:one.mp4"), "hall%3Aone.mp4"); // not a URL of scheme "hall"
    EXPECT_EQ(urlStrict("demo-1_a.b~"), "demo-1_a.b~");
    EXPECT_EQ(urlStrict("a b&ж"), "a%20b%26%D0%B6");
}

} // namespace
} // namespace qm
