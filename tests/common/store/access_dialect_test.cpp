#include "common/store/access_dialect.h"

#include <gtest/gtest.h>

namespace {

TEST(AccessDialect, TopBecomesLimitAndOtherTextStays) {
  struct Case {
    const char* name;
    const char* access;
    const char* sqlite;
  };
  const Case cases[] = {
      {"record list query", "select top 10000 * from fileinfo order by filetype asc, filename asc, filename asc",
       "select * from fileinfo order by filetype asc, filename asc, filename asc limit 10000"},
      {"keywords in any case, blanks and line breaks", "  SELECT\tTop  5\n id FROM t",
       "  SELECT\tid FROM t limit 5"},
      {"closing semicolon stays outside the limit", "select top 3 * from t where a = 'x';  ",
       "select * from t where a = 'x' limit 3"},
      {"no top", "select * from fileinfo", "select * from fileinfo"},
      {"a column named like the keyword", "select topic from t", "select topic from t"},
      {"top without a number", "select top x from t", "select top x from t"},
      {"top with nothing after the number", "select top 5", "select top 5"},
      {"top inside a literal is data", "delete from t where a = 'select top 1 x'",
       "delete from t where a = 'select top 1 x'"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(qevTranslateAccessDialect(c.access), c.sqlite);
  }
}

}  // namespace
