// The test table: identities, order, names and references that the
// pass definition, the titles and the report rely on.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>

#include "core/catalogue.h"
#include "core/run_results.h"

namespace {

TEST(Catalogue, RowsAreInTestIdOrderWithTheRightGroups) {
  for (int i = 0; i < TEST_COUNT; ++i) {
    EXPECT_EQ(test_catalogue[i].id, i);
    EXPECT_EQ(is_2d_kernel(test_catalogue[i].kernel), is_2d_test(i)) << test_catalogue[i].keyword;
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

// A pass starts from the pass definition's selection, whatever the checks of
// the pass before marked; after the last slot the first is reused.
TEST(RunResults, PassesRestoreTheSelectionAndReuseTheSlots) {
  RunResults results;
  uint8_t selection[TEST_COUNT] = {};
  selection[test_id::blur] = 1;
  results.select(selection);
  results.record_skip(test_id::lines);
  EXPECT_TRUE(results.skipped(test_id::lines));
  results.begin_pass();
  EXPECT_FALSE(results.skipped(test_id::lines));
  EXPECT_TRUE(results.skipped(test_id::blur));
  for (int pass = 0; pass < TIME_SLOTS; ++pass) {
    results.record_time(test_id::lines, pass + 1.0);
    results.end_pass();
  }
  EXPECT_EQ(results.pass_index, 0);
  results.record_time(test_id::lines, 0.5);
  EXPECT_EQ(results.test_times[test_id::lines][0], 0.5);
  EXPECT_EQ(results.test_times[test_id::lines][TIME_SLOTS - 1], 50.0);
}

// A picture that differed in any pass differs, with the figures of the pass
// that strayed furthest; every pass is counted.
TEST(RunResults, PicturesKeepTheWorstPass) {
  const auto pass = [](PictureVerdict::State state, double share) {
    PictureVerdict verdict;
    verdict.state = state;
    verdict.share_beyond = share;
    return verdict;
  };
  RunResults results;
  results.record_picture(test_id::lines, pass(PictureVerdict::ok, 0.001));
  results.record_picture(test_id::lines, pass(PictureVerdict::differs, 0.2));
  results.record_picture(test_id::lines, pass(PictureVerdict::differs, 0.1));
  results.record_picture(test_id::lines, pass(PictureVerdict::ok, 0.3));
  const PictureVerdict& kept = results.verdicts[test_id::lines];
  EXPECT_EQ(kept.state, PictureVerdict::differs);
  EXPECT_EQ(kept.share_beyond, 0.2);
  EXPECT_EQ(kept.passes_checked, 4);
  EXPECT_EQ(kept.passes_differing, 2);
}

}  // namespace
