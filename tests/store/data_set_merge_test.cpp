// Changes decided in memory and written to tabrel.dat and keyword.dat as one.
#include "store/data_set_merge.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"
#include "store/layout.h"

namespace tabrel {
namespace {

using testing::Contact;
using testing::ContactBytes;
using testing::Keyword;

std::string Entries(const std::vector<std::string>& texts) {
  std::string bytes;
  for (const auto& text : texts) bytes += Keyword(text);
  return bytes;
}

class DataSetMergeTest : public ::testing::Test, public testing::DataSetFolders {
 protected:
  void SetUp() override {
    data.Write("tabrel.dat", ContactBytes({Contact("1", "Adams", "Ann", "01-01-2000 1"),
                                           Contact("1", "Baker", "Bob", "01-01-2000 2"),
                                           Contact("2", "Clark Ltd", "", "01-01-2000 3")}) +
                                 "torn");
    data.Write("keyword.dat", Entries({"Golf", "Work"}) + "tail");
  }

  // A merge that replaces Baker and adds two records with keywords.
  DataSetMerge Changed() {
    auto merge = DataSetMerge::Open(state);
    EXPECT_TRUE(merge.ok());
    DataSetMerge m = std::move(merge.value());
    m.Replace(2, EncodeContact(Contact("1", "Baker", "Barbara", "02-02-2002 2")));
    ContactRecord first = Contact("1", "Young", "Yves", "03-03-2003 1");
    first.KW1 = "Zeta";
    first.KW2 = "Work";
    m.Add(EncodeContact(first));
    m.Add(EncodeContact(Contact("4", "Zed Inc", "", "03-03-2003 2")));
    m.CollectKeyword("Zeta");
    m.CollectKeyword("  Alpha ");
    m.CollectKeyword("Work");
    return m;
  }
};

TEST_F(DataSetMergeTest, ReplacesInPlaceAddsAtTheEndAndMergesAndSortsTheKeywords) {
  DataSetMerge merge = Changed();
  EXPECT_EQ(merge.count(), 3u);
  EXPECT_EQ(merge.added(), 2u);
  EXPECT_EQ(merge.replaced(), 1u);
  EXPECT_EQ(DecodeContact(merge.Record(2)).FirstName.substr(0, 7), "Barbara");
  const MergeOutcome outcome = merge.Commit();
  ASSERT_TRUE(outcome.ok()) << outcome.written.status.ErrorLine();
  EXPECT_EQ(outcome.keywords_added, 2u);
  EXPECT_EQ(testing::Stamps(data.Read("tabrel.dat")),
            (std::vector<std::string>{"01-01-2000 1", "02-02-2002 2", "01-01-2000 3",
                                      "03-03-2003 1", "03-03-2003 2"}));
  EXPECT_TRUE(data.Read("tabrel.dat").ends_with("torn"));
  EXPECT_EQ(data.Read("keyword.dat"), Entries({"Alpha", "Golf", "Work", "Zeta"}) + "tail");
}

// Written ahead a batch at a time or held in memory, the added records make
// the same files, whatever the count against the batches.
TEST_F(DataSetMergeTest, AddedRecordsWrittenAheadMakeTheSameFilesAsThoseHeldInMemory) {
  const auto commit = [&](std::size_t adding, bool ahead) {
    SetUp();
    auto opened = DataSetMerge::Open(state);
    EXPECT_TRUE(opened.ok());
    DataSetMerge& merge = opened.value();
    if (ahead) merge.WriteAddedAhead();
    merge.Replace(2, EncodeContact(Contact("1", "Baker", "Barbara", "02-02-2002 2")));
    for (std::size_t i = 0; i < adding; ++i) {
      merge.Add(EncodeContact(Contact("1", "Added" + std::to_string(i), "", std::to_string(i))));
      // The first batch is on its way to disk once the second begins.
      if (ahead && i == 1024) EXPECT_EQ(testing::FileNames(data).size(), 3u);
    }
    merge.CollectKeyword("Zeta");
    const MergeOutcome outcome = merge.Commit();
    EXPECT_TRUE(outcome.ok()) << outcome.written.status.ErrorLine();
    EXPECT_EQ(testing::FileNames(data).size(), 2u) << "nothing is left beside the files";
    return data.Read("tabrel.dat") + data.Read("keyword.dat");
  };
  for (std::size_t adding : {1u, 1024u, 1025u, 2500u}) {
    SCOPED_TRACE(adding);
    const std::string held = commit(adding, false);
    EXPECT_EQ(held.size(), (3 + adding) * layout::kContactRecordLength + 4 + 3 * 14 + 4);
    EXPECT_TRUE(commit(adding, true) == held);
  }
}

// Where records cannot be written ahead, the commit says what it would have
// said without writing ahead, and leaves the files as they were: a failed
// write is told as the same failure at the commit would be, and a record
// removed (which would move the added ones) fails the commit. Nothing is
// written ahead into a data set that may not be written.
TEST_F(DataSetMergeTest, WhatCannotBeWrittenAheadFailsTheCommitAsItWouldHaveFailed) {
  const std::string records = data.Read("tabrel.dat");
  const auto commit = [&](bool ahead, bool remove, const RewriteFaultHook& fault) {
    state.write_fault = fault;
    auto merge = DataSetMerge::Open(state);
    EXPECT_TRUE(merge.ok());
    if (ahead) merge.value().WriteAddedAhead();
    for (int i = 0; i < 1100; ++i) {
      merge.value().Add(EncodeContact(Contact("1", "Added", "", std::to_string(i))));
    }
    if (state.read_only) EXPECT_EQ(testing::FileNames(data).size(), 2u);
    if (remove) merge.value().Remove(1);
    return merge.value().Commit().written.status;
  };
  const auto failing_write = [](RewriteStep step) { return step == RewriteStep::kWrite; };
  const auto told = [](const Status& s) {
    return std::to_string(s.number()) + s.description().substr(0, s.description().find(".new-"));
  };
  for (const RewriteFaultHook& fault :
       {RewriteFaultHook(failing_write),
        RewriteFaultHook([](RewriteStep step) { return step == RewriteStep::kCreate; })}) {
    const Status held = commit(false, false, fault);
    ASSERT_FALSE(held.ok());
    EXPECT_EQ(told(commit(true, false, fault)), told(held));
  }
  EXPECT_FALSE(commit(true, true, nullptr).ok());
  state.read_only = true;
  EXPECT_EQ(commit(true, false, nullptr).number(), commit(false, false, nullptr).number());
  EXPECT_EQ(data.Read("tabrel.dat"), records);
  EXPECT_EQ(testing::FileNames(data).size(), 2u);
}

// A record removed twice is removed once; the removal alone is a change.
TEST_F(DataSetMergeTest, RemovedRecordsAreLeftOutOfTheFileAndCountedOnce) {
  auto merge = DataSetMerge::Open(state);
  ASSERT_TRUE(merge.ok());
  merge.value().Remove(1);
  merge.value().Remove(3);
  merge.value().Remove(1);
  EXPECT_EQ(merge.value().removed(), 2u);
  EXPECT_TRUE(merge.value().changed());
  ASSERT_TRUE(merge.value().Commit().ok());
  EXPECT_EQ(testing::Stamps(data.Read("tabrel.dat")), (std::vector<std::string>{"01-01-2000 2"}));
  EXPECT_TRUE(data.Read("tabrel.dat").ends_with("torn"));
}

TEST_F(DataSetMergeTest, NoChangeWritesNothing) {
  auto merge = DataSetMerge::Open(state);
  ASSERT_TRUE(merge.ok());
  merge.value().CollectKeyword("Chess");  // keywords alone change nothing
  const std::string records = data.Read("tabrel.dat");
  state.write_fault = [](RewriteStep) { return true; };
  EXPECT_TRUE(merge.value().Commit().ok());
  EXPECT_EQ(data.Read("tabrel.dat"), records);
  EXPECT_EQ(data.Read("keyword.dat"), Entries({"Golf", "Work"}) + "tail");
}

TEST_F(DataSetMergeTest, AMergePastTheLimitIsRefusedNamingTheNumbersAndWritesNothing) {
  const std::string record = EncodeContact(Contact("1", "", "", "01-01-2000 1"));
  std::string full;
  for (std::size_t i = 0; i < layout::kMaxRecords - 2; ++i) full += record;
  data.Write("tabrel.dat", full);
  auto merge = DataSetMerge::Open(state);
  ASSERT_TRUE(merge.ok());
  merge.value().Add(record);
  merge.value().Add(record);
  EXPECT_TRUE(merge.value().CheckLimit().ok()) << "32,767 is allowed";
  merge.value().Add(record);
  const Status refused = merge.value().CheckLimit();
  EXPECT_EQ(refused.number(), error_number::kOverflow);
  EXPECT_EQ(refused.description(),
            "The data set holds 32,765 records and 3 would be added: 32,768, more than the "
            "32,767 records a data set can hold");
  EXPECT_EQ(merge.value().Commit().written.status.number(), error_number::kOverflow);
  EXPECT_EQ(data.Read("tabrel.dat").size(), full.size());
}

}  // namespace
}  // namespace tabrel
