// The test table: identities, order, names and references that the
// pass definition, the titles and the report rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/catalogue.h"

namespace {

TEST(Catalogue, RowsAreInTestIdOrderWithTheRightGroups) {
  for (int i = 0; i < TEST_COUNT; ++i) {
    EXPECT_EQ(test_catalogue[i].id, i);
    const bool raster = test_catalogue[i].runner == TestRunner::raster_2d;
    EXPECT_EQ(raster, is_2d_test(i)) << test_catalogue[i].keyword;
  }
  EXPECT_EQ(test_id::copy_xor, 21);
  EXPECT_EQ(test_id::swap_buffer, 26);
  EXPECT_EQ(test_id::texture_real_GL_REPEAT, 48);
}

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
  EXPECT_EQ(keywords.size(), 49u);
  EXPECT_EQ(titles.size(), 49u);
  EXPECT_EQ(labels.size(), 49u);
}

TEST(Catalogue, KeywordLookupIsExact) {
  EXPECT_EQ(find_test_by_keyword("copy_xor"), 21);
  EXPECT_EQ(find_test_by_keyword("accumulation_buffer"), 40);
  EXPECT_EQ(find_test_by_keyword("texture_fast_GL_CLAMP"), 45);
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

TEST(Catalogue, RunStateStartsAtZero) {
  EXPECT_EQ(TIME_SLOTS, 50);
  for (int i = 0; i < TEST_COUNT; ++i) EXPECT_EQ(saved_skip_flags[i], 0);
}

}  // namespace
