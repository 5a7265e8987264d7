#include "ProcessingFixture.h"

#include "processing/Dedup.h"

#include <gmock/gmock.h>

namespace kavo::test {
namespace {

using ::testing::ElementsAre;

class DedupTest : public ProcessingTest {
protected:
    int a = addTask("甲");
    int b = addTask("乙");
};

TEST_F(DedupTest, KeepsTheNewestOfEachTelephoneWithinTheTask) {
    addRecord({.PID = a, .comname = "old", .tel = "111"});
    addRecord({.PID = a, .comname = "mid", .tel = "111"});
    addRecord({.PID = a, .comname = "other", .tel = "222"});
    addRecord({.PID = a, .comname = "new", .tel = "111"});
    // Newer records of another task with the same numbers take nothing from this one.
    addRecord({.PID = b, .comname = "b1", .tel = "222"});
    addRecord({.PID = b, .comname = "b2", .tel = "111"});

    const auto outcome = DedupTaskRecords(*data, a, DedupKey::Tel);
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.removed, 2);
    EXPECT_EQ(outcome.message, "操作成功！");
    EXPECT_THAT(column(a, "comname"), ElementsAre("other", "new"));
    EXPECT_THAT(column(b, "comname"), ElementsAre("b1", "b2"));

    EXPECT_EQ(DedupTaskRecords(*data, b, DedupKey::Tel).removed, 0);
    EXPECT_THAT(column(b, "comname"), ElementsAre("b1", "b2"));
}

TEST_F(DedupTest, RecordsWithoutAKeyAreNotDuplicates) {
    // The store copies the mobile number into an empty telephone, so leave both empty.
    addRecord({.PID = a, .comname = "x"});
    addRecord({.PID = a, .comname = "y"});
    addRecord({.PID = a, .comname = "z", .tel = "5"});
    addRecord({.PID = b, .comname = "w"});
    EXPECT_EQ(DedupTaskRecords(*data, a, DedupKey::Tel).removed, 0);
    EXPECT_THAT(column(a, "comname"), ElementsAre("x", "y", "z"));
}

TEST_F(DedupTest, ByCompanyName) {
    addRecord({.PID = a, .comname = "同名", .tel = "1"});
    addRecord({.PID = a, .comname = "同名", .tel = "2"});
    addRecord({.PID = a, .comname = "同名 ", .tel = "3"});
    EXPECT_EQ(DedupTaskRecords(*data, a, DedupKey::Comname).removed, 1);
    EXPECT_THAT(column(a, "tel"), ElementsAre("2", "3"));
}

TEST_F(DedupTest, NoTaskAndFailureAreSaidSo) {
    auto outcome = DedupTaskRecords(*data, 0, DedupKey::Tel);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.message, "请先选择一个任务！");

    addRecord({.PID = a, .tel = "1"});
    addRecord({.PID = a, .tel = "1"});
    {
        auto lock = data->Lock();
        data->ReSet();
        ASSERT_TRUE(data->ExecSql(
            "CREATE TRIGGER refuse BEFORE DELETE ON tbl_list BEGIN SELECT RAISE(ABORT, 'refused'); END"));
    }
    outcome = DedupTaskRecords(*data, a, DedupKey::Tel);
    EXPECT_FALSE(outcome.succeeded);
    EXPECT_EQ(outcome.removed, 0);
    EXPECT_NE(outcome.message.find("操作失败"), std::string::npos);
    EXPECT_NE(outcome.message.find("refused"), std::string::npos) << outcome.message;
    EXPECT_EQ(column(a, "tel").size(), 2u);
}

} // namespace
} // namespace kavo::test
