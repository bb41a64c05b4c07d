// The test table: names and references that the pass definition, the
// titles and the report rely on. Its order and groups are checked where it
// is defined, at compile time (core/catalogue.cpp).
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/catalogue.h"

namespace {

TEST(Catalogue, KeywordsTitlesAndLabelsAreUniqueAndFitTheReport) {
  std::set<std::string> keywords, titles, labels;
  for (const TestInfo& info : test_catalogue) {
    keywords.insert(info.keyword);
    titles.insert(info.title);
    labels.insert(info.label);
    EXPECT_LE(std::strlen(info.label), 25u) << info.label;
    EXPECT_EQ(std::string(info.label).substr(0, 3), is_2d_test(info.id) ? "2D " : "3D ");
    EXPECT_GT(info.reference, 0.0);
  }
  EXPECT_EQ(keywords.size(), size_t(TEST_COUNT));
  EXPECT_EQ(titles.size(), size_t(TEST_COUNT));
  EXPECT_EQ(labels.size(), size_t(TEST_COUNT));
}

TEST(Catalogue, KeywordLookupIsExact) {
  EXPECT_EQ(find_test_by_keyword("Lines"), -1);
  EXPECT_EQ(find_test_by_keyword("lines "), -1);
  EXPECT_EQ(find_test_by_keyword(""), -1);
  for (const TestInfo& info : test_catalogue)
    EXPECT_EQ(find_test_by_keyword(info.keyword), info.id);
}

TEST(Catalogue, SpotValuesOfTheTable) {
  const TestInfo& accum = test_catalogue[test_id::accumulation_buffer];
  EXPECT_STREQ(accum.title, "Accumlation Buffer");
  EXPECT_STREQ(accum.label, "3D accumlation buffer");
  EXPECT_DOUBLE_EQ(accum.reference, 2.134464);
  EXPECT_STREQ(test_catalogue[0].title, "Put of GL_COPY (ValueScale)");
  EXPECT_STREQ(test_catalogue[0].label, "2D put GL_COPY half tone");
  EXPECT_DOUBLE_EQ(test_catalogue[test_id::scaling].reference, 56.890642);
  EXPECT_DOUBLE_EQ(test_catalogue[test_id::wire_frame_fog].reference, 33.266161);
  EXPECT_STREQ(test_catalogue[test_id::polygon_color_smooth].title, "PolygonSmooth");
}

}  // namespace
