#include "report/html.h"

#include <gtest/gtest.h>

namespace vorlane {
namespace {

TEST(HtmlTesto, EscapesEverySpecialCharacterWhereverItFalls) {
  // First and last characters, neighbours, and the runs of plain text between them.
  EXPECT_EQ(htmlTesto("&a<b>c\"d'e\xE8\x80"), "&amp;a&lt;b&gt;c&quot;d&#39;e&#232;&#8364;");
  EXPECT_EQ(htmlTesto("<<>>"), "&lt;&lt;&gt;&gt;");
  EXPECT_EQ(htmlTesto("campione 1 (freq: 2)"), "campione 1 (freq: 2)");
  EXPECT_EQ(htmlTesto(""), "");
}

}  // namespace
}  // namespace vorlane
