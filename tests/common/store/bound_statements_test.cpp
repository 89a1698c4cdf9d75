// Bound statements on a real store: values stay values whatever bytes they hold, the placeholder
// count must match, and a batch is kept whole or not at all.
#include <gtest/gtest.h>

#include "common/store/bound_statements.h"
#include "common/store/datastore.h"
#include "support/program_dir.h"

namespace {

std::vector<std::string> serverIps() {
  std::vector<std::string> ips;
  EXPECT_EQ(qevQueryBound("select ip from serverip where remark = ? order by id", {"r"}, [&ips](const StoreRow& row) {
    std::string ip;
    row.text("ip", ip);
    ips.push_back(ip);
    return true;
  }), 1);
  return ips;
}

class BoundStatementsTest : public ::testing::Test {
 protected:
  TemporaryProgramDir programDir_;
};

TEST_F(BoundStatementsTest, ValuesAreStoredAsTheyAreAndNeverBecomeStatements) {
  const std::string zero("a\0b", 3);
  for (const std::string& value : {std::string("it's"), std::string("'); delete from serverip; --"), zero,
                                   std::string()}) {
    ASSERT_EQ(qevExecuteBound("insert into serverip (ip, remark) values (?, ?)", {value, "r"}), 1);
  }
  EXPECT_EQ(serverIps(), (std::vector<std::string>{"it's", "'); delete from serverip; --", zero, ""}));
}

TEST_F(BoundStatementsTest, RefusesAWrongValueCountAndASecondStatement) {
  EXPECT_EQ(qevExecuteBound("insert into serverip (ip, remark) values (?, ?)", {"x"}), 0);
  EXPECT_EQ(qevExecuteBound("insert into serverip (ip) values (?)", {"x", "y"}), 0);
  EXPECT_EQ(qevExecuteBound("insert into serverip (ip) values (?); delete from serverip", {"x"}), 0);
  EXPECT_TRUE(serverIps().empty());
}

TEST_F(BoundStatementsTest, ABatchThatFailsPartWayLeavesNothing) {
  const std::vector<std::string> first = {"kept", "r"};
  ASSERT_EQ(qevExecuteBoundBatch({{"insert into serverip (ip, remark) values (?, ?)", qevRunOnce(first)}}), 1);
  int runs = 0;
  const BoundRuns threeThenWrong = [&runs](std::vector<std::string_view>& values) {
    if (++runs > 4) return false;
    values = {"new", "r"};
    if (runs == 4) values.pop_back();  // the fourth run has one value too few
    return true;
  };
  const std::vector<std::string> none;
  EXPECT_EQ(qevExecuteBoundBatch({{"delete from serverip", qevRunOnce(none)},
                                  {"insert into serverip (ip, remark) values (?, ?)", threeThenWrong}}),
            0);
  EXPECT_EQ(serverIps(), std::vector<std::string>{"kept"});
}

}  // namespace
