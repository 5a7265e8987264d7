#include "service/DownIdHttp.h"

#include "common/Global.h"
#include "service/PackageFiles.h"
#include "service/ServiceHttp.h"

#include <QMetaObject>
#include <QProcess>
#include <QString>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace kavo {
namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

bool writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return out.good();
}

void startProgram(const std::string& program, const std::string& parameters) {
    const QString path = QString::fromStdString(program);
    const QStringList arguments =
        parameters.empty() ? QStringList() : QProcess::splitCommand(QString::fromStdString(parameters));
    const QString folder = QString::fromStdString(std::filesystem::path(program).parent_path().string());
    if (!QProcess::startDetached(path, arguments, folder))
        WriteLog("cannot start " + program);
}

} // namespace

bool IsPlainHttpAddress(const std::string& url) {
    return lowered(url.substr(0, 7)) == "http://";
}

TDownIdHttp* TDownIdHttp::Create(QObject* owner, MessageReceiver* msghandle, DownloadJob job,
                                 Completion onDone) {
    return new TDownIdHttp(owner, msghandle, std::move(job), std::move(onDone));
}

TDownIdHttp::TDownIdHttp(QObject* owner, MessageReceiver* msghandle, DownloadJob job, Completion onDone)
    : QObject(owner), job_(std::move(job)), msghandle_(msghandle), hasReceiver_(msghandle != nullptr),
      onDone_(std::move(onDone)), thread_(this, [this](WorkerThread&) {
          Completion done = std::move(onDone_);
          if (done)
              done(*this);
          deleteLater();
      }) {
    thread_.Start([this](WorkerThread& thread) {
        try {
            Execute(thread);
        } catch (const std::exception& error) {
            WriteLog(std::string("package download failed: ") + error.what());
        }
    });
}

TDownIdHttp::~TDownIdHttp() {
    thread_.Abort();
}

void TDownIdHttp::ReportProgress(std::int64_t received, std::int64_t total) {
    if (total > 0 && iallsize_ == 0)
        iallsize_ = total;
    if (!hasReceiver_ || total <= 0)
        return;
    const int percent = ProgressPercent(received, total);
    if (percent == lastPercent_)
        return;
    lastPercent_ = percent;
    const int msg = job_._WinMsg;
    // Hops through this object's thread: the receiver may be gone by then, and only that thread may ask.
    PostToThread(this, [this, msg, percent] {
        if (msghandle_)
            PostMessage(msghandle_.data(), msg, 2, percent);
    });
}

void TDownIdHttp::Execute(WorkerThread& thread) {
    if (!IsPlainHttpAddress(job_._strurl))
        return;
    ServiceRequest request;
    request.followRedirects = true;
    request.onProgress = [this](std::int64_t received, std::int64_t total) {
        ReportProgress(received, total);
    };
    request.abort = [&thread] { return thread.StopRequested(); };
    ServiceReply reply = ServiceGet(job_._strurl, request);
    if (thread.StopRequested() || !reply.ok()) {
        if (!reply.ok())
            WriteLog("package download failed: " + job_._strurl + " " + reply.error + " status " +
                     std::to_string(reply.status));
        return;
    }
    if (!writeFile(job_._SavePath, reply.body))
        return;
    reply.body = std::string();
    if (job_._CrcCode != 0 && FileCrc32(job_._SavePath) != job_._CrcCode) {
        iStat_ = -1;
        return;
    }
    if (!job_._Sha256.empty() && FileSha256(job_._SavePath) != lowered(job_._Sha256)) {
        iStat_ = -1;
        return;
    }
    if (thread.StopRequested())
        return;
    if (job_._bUnZip == 2) {
        std::string error;
        const std::string folder = std::filesystem::path(job_._SavePath).parent_path().string();
        if (!UnpackArchive(job_._SavePath, folder, &error)) {
            WriteLog("cannot unpack " + job_._SavePath + ": " + error);
            return;
        }
        std::error_code ec;
        std::filesystem::remove(job_._SavePath, ec);
    }
    if (thread.StopRequested())
        return;
    if (job_._bExec && job_._SavePath.size() > 4)
        startProgram(job_._SavePath.substr(0, job_._SavePath.size() - 4), job_._runpara);
    iStat_ = 2;
}

} // namespace kavo
