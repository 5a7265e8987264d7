#include "ProcessingFixture.h"

#include "processing/FormatData.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <gmock/gmock.h>

namespace kavo::test {
namespace {

using ::testing::ElementsAre;
using Message = std::pair<MsgParam, MsgParam>;

TEST(FormatNumbersTest, StepsRunInTheirOrder) {
    enum Field { Tel, Tel2, Tel3 };
    struct Case {
        Field field;
        const char* raw;
        bool bZero;
        const char* formatted;
    };
    const Case cases[] = {
        {Tel2, "+86 139-1234-5678", false, "13912345678"},
        {Tel2, "+86 139-1234-5678", true, "13912345678"},
        {Tel, "0755-12345678", true, "075512345678"},
        {Tel3, "0755-12345678", true, "075512345678"},
        {Tel2, "013912345678", true, "13912345678"},
        {Tel2, "013912345678", false, "013912345678"},
        // After its one leading zero goes, the country-code test sees "08".
        {Tel2, "0086 139 1234 5678", true, "08613912345678"},
        {Tel2, " 013912345678", true, "013912345678"},
        {Tel, "86", false, "86"},
        {Tel, "8612", false, "12"},
        {Tel3, "(86)1234", false, "1234"},
        {Tel, "fax only", false, ""},
        {Tel2, "１３９１２３４", false, ""},
        {Tel, "8686123", false, "86123"},
    };
    for (const Case& c : cases) {
        std::string values[3];
        values[c.field] = c.raw;
        EXPECT_EQ(FormatRecordNumbers(values[0], values[1], values[2], c.bZero),
                  c.raw != std::string(c.formatted))
            << c.raw;
        EXPECT_EQ(values[c.field], c.formatted) << c.raw << " bZero " << c.bZero;
    }
    std::string tel = "075512345678", tel2 = "13912345678", tel3;
    EXPECT_FALSE(FormatRecordNumbers(tel, tel2, tel3, true));
    EXPECT_EQ(DigitsOnly("a1b２3"), "13");
}

class FormatTaskTest : public ProcessingTest {
protected:
    FormatTaskTest() {
        auto lock = data->Lock();
        data->ReSet();
        // Every row the formatting rewrites leaves a trace, so untouched records can be told apart.
        EXPECT_TRUE(data->ExecSql("CREATE TABLE updates(id INTEGER)"));
        EXPECT_TRUE(data->ExecSql(
            "CREATE TRIGGER trace AFTER UPDATE ON tbl_list BEGIN INSERT INTO updates VALUES (new.ID); END"));
    }

    int writes() {
        auto lock = data->Lock();
        data->ReSet();
        data->SqlCmd = "select count(*) from updates";
        return StrToIntDef(data->GetTable()->GetFields(0));
    }

    int id = addTask("格式化");
};

TEST_F(FormatTaskTest, RewritesChangedRecordsInBatchesAndReportsProgress) {
    addRecord({.PID = id, .tel = "0755-1234", .tel2 = "+86 139", .tel3 = "86-755"});
    addRecord({.PID = id, .tel = "12345", .tel2 = "0139"});
    addRecord({.PID = id, .tel = "1 2", .tel2 = "0139"});
    addRecord({.PID = id, .tel = "86 1"});
    const int other = addTask("别的");
    addRecord({.PID = other, .tel = "0-1"});

    std::vector<Message> messages;
    const auto result =
        FormatTaskNumbers(*data, id, true, 2, [&](int w, int l) { messages.emplace_back(w, l); });
    EXPECT_TRUE(result.succeeded) << result.error;
    EXPECT_EQ(result.records, 4);
    EXPECT_EQ(result.changed, 4);
    EXPECT_EQ(writes(), 4);
    EXPECT_THAT(messages,
                ElementsAre(Message(1, 0), Message(2, 0), Message(2, 25), Message(2, 50), Message(2, 75)));
    EXPECT_THAT(column(id, "tel"), ElementsAre("07551234", "12345", "12", "861"));
    EXPECT_THAT(column(id, "tel2"), ElementsAre("139", "139", "139", ""));
    EXPECT_THAT(column(id, "tel3"), ElementsAre("755", "", "", ""));
    EXPECT_THAT(column(other, "tel"), ElementsAre("0-1"));

    // A second run without the option finds nothing left to change and writes nothing.
    const auto again = FormatTaskNumbers(*data, id, false, 2, {});
    EXPECT_EQ(again.changed, 0);
    EXPECT_EQ(writes(), 4);
}

TEST_F(FormatTaskTest, AnErrorEndsTheLoopKeepingEarlierBatches) {
    // The task's records are read in index order (by rid); these rids keep it the order of storing.
    for (int i = 0; i < 5; ++i)
        addRecord({.PID = id, .rid = "k" + std::to_string(i), .tel = "1-" + std::to_string(i)});
    const auto ids = column(id, "ID");
    {
        auto lock = data->Lock();
        data->ReSet();
        ASSERT_TRUE(data->ExecSql("CREATE TRIGGER refuse BEFORE UPDATE ON tbl_list WHEN new.ID=" + ids[3] +
                                  " BEGIN SELECT RAISE(ABORT, 'disk says no'); END"));
    }
    const auto result = FormatTaskNumbers(*data, id, false, 2, {});
    EXPECT_FALSE(result.succeeded);
    EXPECT_EQ(result.changed, 2);
    EXPECT_NE(result.error.find("disk says no"), std::string::npos) << result.error;
    EXPECT_THAT(column(id, "tel"), ElementsAre("10", "11", "1-2", "1-3", "1-4"));
}

// Runs the formatting thread and collects the 3049 messages its receiver gets until FormatFinished's.
class FormatThreadTest : public FormatTaskTest {
protected:
    FormatOutcome runThread(bool dropReceiver = false) {
        auto receiver = std::make_unique<MessageReceiver>([&](int msg, MsgParam w, MsgParam l) -> MsgParam {
            EXPECT_EQ(msg, MSG_PROCESS);
            messages.emplace_back(w, l);
            if (w == 3)
                loop.quit();
            return 0;
        });
        FormatOutcome outcome;
        auto thread = TFormatData::Create(receiver.get(), id, true, *data, [&](TFormatData& sender) {
            outcome = FormatFinished(sender);
            if (dropReceiver)
                loop.quit();
        });
        if (dropReceiver)
            receiver.reset();
        QTimer::singleShot(10000, &loop, [&] {
            ADD_FAILURE() << "the thread did not finish";
            loop.quit();
        });
        loop.exec();
        // Let the thread object free itself.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(thread.isNull());
        return outcome;
    }

    bool applicationReady = (EnsureCoreApplication(), true);
    QEventLoop loop;
    std::vector<Message> messages;
};

TEST_F(FormatThreadTest, ReportsOpenProgressAndCloseThenFreesItself) {
    for (int i = 0; i < 4; ++i)
        addRecord({.PID = id, .tel2 = "0139-" + std::to_string(i)});
    const auto outcome = runThread();
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_EQ(outcome.changed, 4);
    EXPECT_EQ(outcome.taskId, id);
    EXPECT_EQ(outcome.message, "名录格式化完成！");
    EXPECT_THAT(messages, ElementsAre(Message(1, 0), Message(2, 0), Message(2, 25), Message(2, 50),
                                      Message(2, 75), Message(3, 0)));
    EXPECT_THAT(column(id, "tel2"), ElementsAre("1390", "1391", "1392", "1393"));
}

TEST_F(FormatThreadTest, EmptyTaskOpensAndClosesAndAGoneReceiverIsHarmless) {
    runThread();
    EXPECT_THAT(messages, ElementsAre(Message(1, 0), Message(3, 0)));

    messages.clear();
    addRecord({.PID = id, .tel = "1-1"});
    const auto outcome = runThread(true);
    EXPECT_TRUE(messages.empty());
    EXPECT_TRUE(outcome.succeeded);
    EXPECT_THAT(column(id, "tel"), ElementsAre("11"));
}

} // namespace
} // namespace kavo::test
