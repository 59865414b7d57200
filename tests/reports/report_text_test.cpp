// Edges of the report texts that the golden files do not reach.
#include "reports/report_text.h"

#include <gtest/gtest.h>

#include "fakes/contact_files.h"

namespace tabrel {
namespace {

TEST(ReportTextTest, AFieldKeepsAWordAtItsVeryEndAfterALongGap) {
  ContactRecord r = testing::Contact("2", "Acme", "", "s");
  r.Phone = "5" + std::string(18, ' ') + "9";  // the whole width
  const std::string bytes = EncodeContact(r);
  const std::string_view records[] = {bytes};
  EXPECT_EQ(SimplePhoneList(records), "\r\n\r\nAcme - " + r.Phone + "\r\n");
}

}  // namespace
}  // namespace tabrel
