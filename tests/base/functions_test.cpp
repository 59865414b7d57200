// Small functions of the base layer: numbers as the program has always
// read and written them, command lines split into words, base64, stored
// bytes and system errors, from
// the cases in testdata/base/functions.cases.
#include <gtest/gtest.h>

#include "base/base64.h"
#include "base/basic_number.h"
#include "base/codec.h"
#include "base/command_line.h"
#include "base/status.h"
#include "fakes/case_file.h"

namespace tabrel {
namespace {

using BaseFunctionTest = testing::FileCaseTest;

TEST_P(BaseFunctionTest, GivesTheExpectedResult) {
  const testing::FileCase& c = GetParam();
  if (c.Has("val")) {
    EXPECT_EQ(BasicVal(c.Get("val")), std::stod(c.Get("is")));
  } else if (c.Has("str")) {
    EXPECT_EQ(BasicStr(std::stof(c.Get("str"))), c.Get("is"));
  } else if (c.Has("split")) {
    EXPECT_EQ(SplitCommandLine(c.Get("split")), c.All("word"));
  } else if (c.Has("base64")) {
    EXPECT_EQ(EncodeBase64(c.Get("base64")), c.Get("is"));
    EXPECT_EQ(DecodeBase64(c.Get("is")), c.Get("base64"));
  } else if (c.Has("cp1252")) {
    const EncodeResult result = EncodeCp1252(c.Get("cp1252"));
    EXPECT_EQ(result.bytes, c.Get("is"));
    testing::ExpectIfGiven(c, "replaced", result.replaced);
  } else if (c.Has("errno")) {
    const Status status = Status::FromErrno(std::stoi(c.Get("errno")), c.Get("path"));
    EXPECT_FALSE(status.ok());
    EXPECT_EQ(status.ErrorLine(), c.Get("line"));
  } else {
    EXPECT_EQ(DecodeBase64(c.Get("text")).value_or("<not base64>"), c.Get("decoded"));
  }
}

TABREL_FILE_CASES(Texts, BaseFunctionTest, "base", "functions.cases");

}  // namespace
}  // namespace tabrel
