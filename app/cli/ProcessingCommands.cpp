// kavo-cli commands over a task's records: export, dedup, format.
#include "Command.h"
#include "Store.h"

#include "processing/Dedup.h"
#include "processing/Export.h"
#include "processing/FormatData.h"

#include <QEventLoop>

#include <sstream>

namespace kavo::cli {
namespace {

std::string fieldsOption(const Args& args) {
    if (!args.has("fields"))
        return AllFieldsSelection();
    std::vector<int> codes;
    std::stringstream list(args.get("fields"));
    std::string code;
    while (std::getline(list, code, ',')) {
        const int value = args.integer(code, "a field code in --fields");
        if (value < 1 || value > kExportFieldCount)
            throw UsageError{"field codes in --fields go from 1 to " + std::to_string(kExportFieldCount)};
        codes.push_back(value);
    }
    if (codes.empty())
        throw UsageError{"--fields needs at least one field code"};
    return MakeFieldSelection(codes);
}

int exportRecords(const Args& args, Context& context) {
    args.allowOnly({"fields", "all", "new"});
    args.maxPositional(2);
    const int id = args.integer(args.require(0, "task ID"), "task ID");
    ExportRequest request;
    request.taskId = id;
    request.fileName = args.require(1, "FILE");
    if (!ExportFormatForFile(request.fileName, request.format))
        throw UsageError{"FILE must end in .xls, .xlsx or .txt"};
    if (args.has("all") && args.has("new"))
        throw UsageError{"--all and --new exclude each other"};
    request.mode = args.has("all") ? 1 : 0;
    request.fields = fieldsOption(args);

    Store store = OpenStore();
    LoadOneTask(store, id);
    int total = 0;
    store.tasks->GetDeail(id, 1, total);
    request.listHasRows = total > 0;
    const ExportOutcome outcome = ExportTaskRecords(*store.tasks, request);
    switch (outcome.result) {
    case ExportResult::Written:
        context.out << "wrote " << outcome.rows << " records to " << outcome.fileName << "\n";
        return 0;
    case ExportResult::NoData:
    case ExportResult::NothingToExport:
        context.out << outcome.message << "\n";
        return 0;
    default:
        context.err << "kavo-cli: " << outcome.message << "\n";
        return 1;
    }
}

int dedupRecords(const Args& args, Context& context) {
    args.allowOnly({"by"});
    args.maxPositional(1);
    const int id = args.integer(args.require(0, "task ID"), "task ID");
    const std::string by = args.get("by");
    if (by != "tel" && by != "comname")
        throw UsageError{"--by must be tel or comname"};
    Store store = OpenStore();
    LoadOneTask(store, id);
    const DedupOutcome outcome =
        DedupTaskRecords(*store.data, id, by == "tel" ? DedupKey::Tel : DedupKey::Comname);
    if (!outcome.succeeded) {
        context.err << "kavo-cli: " << outcome.message << "\n";
        return 1;
    }
    context.out << "removed " << outcome.removed << " records\n";
    return 0;
}

int formatRecords(const Args& args, Context& context) {
    args.allowOnly({"strip-zero"});
    args.maxPositional(1);
    const int id = args.integer(args.require(0, "task ID"), "task ID");
    Store store = OpenStore();
    LoadOneTask(store, id);

    QEventLoop loop;
    MsgParam shown = -1;
    MessageReceiver progress([&](int msg, MsgParam wParam, MsgParam lParam) -> MsgParam {
        if (msg != MSG_PROCESS)
            return 0;
        if (wParam == 2 && lParam != shown)
            context.err << "formatting: " << lParam << "%\n";
        shown = wParam == 2 ? lParam : -1;
        return 0;
    });
    FormatOutcome outcome;
    int records = 0;
    TFormatData::Create(&progress, id, args.has("strip-zero"), *store.data, [&](TFormatData& sender) {
        outcome = FormatFinished(sender);
        records = sender.Result().records;
        loop.quit();
    });
    loop.exec();
    if (!outcome.succeeded) {
        context.err << "kavo-cli: " << outcome.message << "\n";
        return 1;
    }
    context.out << "changed " << outcome.changed << " of " << records << " records\n";
    return 0;
}

const CommandRegistration registrations[] = {
    CommandRegistration(
        {"export",
         "export ID FILE [--fields LIST] [--all|--new]",
         "Writes the task's records to FILE (.xls, .xlsx or .txt, replacing it): LIST is field "
         "codes such as 1,2,4 (default all eleven), --new (default) only records since the last "
         "export.",
         {"all", "new"},
         exportRecords}),
    CommandRegistration({"dedup",
                         "dedup ID --by tel|comname",
                         "Removes the task's records that repeat a telephone number or company name, keeping "
                         "the newest, and prints how many were removed.",
                         {},
                         dedupRecords}),
    CommandRegistration(
        {"format",
         "format ID [--strip-zero]",
         "Reduces the task's telephone, mobile and fax numbers to digits without the country "
         "code 86 (--strip-zero: and one leading 0 of the mobile number); progress on standard "
         "error.",
         {"strip-zero"},
         formatRecords}),
};

} // namespace
} // namespace kavo::cli
