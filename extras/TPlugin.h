#pragma once

#include <QLibrary>

#include <memory>
#include <string>

class QWidget;

namespace kavo {

// Binds the optional notice library "MsgDlg" from the program folder. Its texts are UTF-8, zero-ended.
//   void showdlgInfo(const char* text, bool centred, void* owner /* QWidget* or null */, int ms);
//   void ShowWebPop(const char* address);
class TPlugin {
public:
    explicit TPlugin(QWidget* Ownen);
    ~TPlugin();
    TPlugin(const TPlugin&) = delete;
    TPlugin& operator=(const TPlugin&) = delete;

    bool Loaded() const { return ShowdlgInfo != nullptr; }

    // Without the library the text becomes an information box "提示", and the caller waits for it.
    void FShowdlgInfo(const std::string& sinfo, int itime, bool Center);
    void FShowWebPop(const std::string& surl);

    // "<folder>/MsgDlg": QLibrary adds the platform's prefix and suffix.
    static QString LibraryBaseName();

private:
    using ShowdlgInfoFn = void (*)(const char*, bool, void*, int);
    using ShowWebPopFn = void (*)(const char*);

    std::unique_ptr<QLibrary> LibHandle;
    QWidget* FOwnen;
    ShowdlgInfoFn ShowdlgInfo = nullptr;
    ShowWebPopFn ShowWebPop = nullptr;
};

} // namespace kavo
