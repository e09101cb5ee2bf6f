// The plug-in's describe records as monitor orti show uses them for its headings.
#include "descriptions.h"

#include <gtest/gtest.h>

namespace {

TEST(Descriptions, RecordsGiveKindAndAttributeNames) {
  // One record per message, or several in one; other lines are not records.
  const std::vector<std::string> messages = {
      "kind\t1\tTASK\t6\tTasks\n",
      "attr\t1\t*\t3\tPRIORITY\tCTYPE\t0\tCurrent priority\n"
      "attr\t1\t*\t100\tvs_BASEPRIORITY\tCTYPE\t0\tConfigured priority\n",
      "attr\t1\t2\t101\tvs_ONLY_ONE\tCTYPE\t0\tOn object 2 only\r\n",
      "kind\t100\tvs_ISR\t2\tCategory 2 interrupts\n",
      "attr\t1\t*\t3\tPRIORITY_AGAIN\tCTYPE\t0\tA repeated id keeps its first name\n",
      "a note of the plug-in\n",
      "kind\tx\tBAD\t0\tnot a number\n",
      "attr\t1\t*\n",
  };
  const rsp::PluginDescriptions d = rsp::parse_descriptions(messages);
  ASSERT_EQ(d.kinds.size(), 2u);
  EXPECT_EQ(d.kinds.at(1).name, "TASK");
  EXPECT_EQ(d.kinds.at(1).description, "Tasks");
  EXPECT_EQ(d.kinds.at(100).name, "vs_ISR");
  EXPECT_EQ(d.attribute_names.at({1, 3}), "PRIORITY");
  EXPECT_EQ(d.attribute_names.at({1, 101}), "vs_ONLY_ONE");
  EXPECT_EQ(d.attributes.at(1), (std::vector<int>{3, 100, 101}));
  EXPECT_TRUE(rsp::parse_descriptions({}).kinds.empty());
}

} // namespace
