// The forms mode while the Canvo window is open, without Qt: the window's
// 25 ms receive loop (CanvoPolling) with its form download, escape processor
// and host command lines; the keys, mouse and edits of the user; the value
// lines sent to the host. Its owner calls four kinds of entry point:
//
//   OpenFromFormFile()        the terminal finished a download: build, show
//   CanvoPolling(buffer)      every 25 ms, over the shared receive buffer
//   Key / FunctionKey / Mouse* / Click / SetEntryText / TypeText
//   UserClose()               the user closes the window
//
// and it reaches out only through FormsWindow, FormsOutput and HostPacing.
#pragma once

#include "base/Clock.h"
#include "comms/ByteQueue.h"
#include "forms/FocusMoves.h"
#include "forms/FormFiles.h"
#include "forms/FormModel.h"
#include "forms/FormsDebugLog.h"
#include "forms/FormsPorts.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kalvor::forms {

// The lines of the "Improper Exit Warning" message box, CR-separated.
std::string ImproperExitText();

// FindEndEscSequence: the position of the first character from `from` on
// whose code is 33 or 64..94 (the final character of a sequence), or npos.
std::size_t FindEndEscSequence(std::string_view text, std::size_t from);

// The keys the Canvo window acts on itself; every other key edits the
// focused control.
enum class FormsKey { Tab, ShiftTab, Enter, Home, End, Up, Down, Left, Right, AltUp, AltDown, AltLeft, AltRight };

class FormsMode {
public:
    static constexpr std::int64_t kDownloadTimeoutMs = 5000; // without any data arriving
    static constexpr std::size_t kMaxEscapeLength = 256;     // a longer sequence is dropped
    static constexpr std::size_t kMaxHostLineLength = 65536; // a host command line is cut here
    static constexpr int kKeptLineRequest = 21;              // pending request of a kept value line

    FormsMode(FormModel& model, FormsFlags& flags, FormsWindow& window, FormsOutput& output, const Clock& clock,
              FormFiles files);

    void SetPacing(const HostPacing& pacing) { pacing_ = &pacing; }
    void SetDebugLog(FormsDebugLog* log) { log_ = log; }
    // The terminal's character set is Roman 8: host command lines are
    // translated to Latin-1.
    bool HostRoman8 = false;

    const std::filesystem::path& FormFile() const { return formFile_.Files().Form; }
    const std::filesystem::path& FormLogFile() const { return formFile_.Files().Log; }

    // Builds the form from the form file and shows it (the end of a download
    // on the terminal side, ESC % k X). False when there is no form file or
    // the layers failed.
    bool OpenFromFormFile();

    // One tick of the polling timer: unloads the window when a close was
    // requested, abandons a download silent for 5 s, then processes the
    // buffer until it is empty, an escape sequence or a form's closing
    // sequence waits for more, or a close is requested.
    void CanvoPolling(ByteQueue& buffer);

    void Key(FormsKey key);
    // MoveCurFocus with a key action; a committed entry box or pick list's
    // line first, as for the keys.
    void MoveFocus(FocusAction action);
    // F1 .. F12: the key's line when the form defined it.
    void FunctionKey(int number);
    void MousePress(int x, int y);
    void MouseRelease(int x, int y);
    void MouseMove(int x, int y);
    void Click(int x, int y)
    {
        MousePress(x, y);
        MouseRelease(x, y);
    }

    // The focused entry box's text as its edit control holds it (line breaks
    // CR LF), and the focused pick list's chosen items.
    void SetEntryText(std::string text);
    void SetPickSelection(std::vector<std::string> chosen);
    // Typing into the focused entry box without an edit control: printable
    // characters up to MaxChars, BS deleting, CR starting a new line while
    // the box has display lines left.
    void TypeText(std::string_view text);

    // The user closes the window: refused with the "Improper Exit Warning"
    // while exit protection is set.
    bool UserClose();

    bool Showing() const { return showing_; }
    bool Receiving() const { return flags_.ReceivingForm; }
    const std::string& Caption() const { return caption_; }
    // Value lines kept until the host's next DC1 (pending request 21).
    int PendingRequest() const { return kept_.empty() ? 0 : kKeptLineRequest; }
    const std::string& KeptLines() const { return kept_; }
    // The kept lines, taken by the terminal side when the window closes.
    std::string TakeKeptLines() { return std::exchange(kept_, {}); }

    const FormModel& Model() const { return model_; }

private:
    // The receive loop (FormsReceive.cpp).
    bool ReceiveFormText(ByteQueue& buffer);
    bool EscProcessor(ByteQueue& buffer);
    void EscapeSequence(std::string_view sequence, ByteQueue& buffer);
    void StartForm(int parameter);
    void StopReceiving(bool keepFile);
    void FinishForm();
    void AddToLine(std::string_view text);
    void HostCommandLine();
    // The user side (FormsUserInput.cpp).
    void XmitOneValue(int position, int focus, int x = 0, int y = 0);
    void SendLine(const std::string& line);
    void CommitFocused();
    void FocusChanged(int from);
    void RememberFocusValue();
    void Operate(int position, int x, int y);
    void ChooseRadio(int position);
    int HitTest(int x, int y) const;
    Rect Area(int position) const { return window_.ObjectArea(position); }

    FormModel& model_;
    FormsFlags& flags_;
    FormsWindow& window_;
    FormsOutput& output_;
    const Clock& clock_;
    const HostPacing* pacing_;
    FormsDebugLog* log_ = nullptr;
    HostAlwaysReady alwaysReady_;
    FormFileWriter formFile_; // the form file and form log while receiving

    // The receive loop's state.
    std::string escape_;          // the escape sequence collected so far
    bool escapePending_ = false;  // it waits for more characters
    std::string line_;            // a host command line up to its CR
    std::int64_t lastDataMs_ = 0; // when data last arrived while receiving
    std::uint64_t seenAppended_ = 0;

    bool showing_ = false;
    std::string caption_;
    std::string focusText_;                // the focused entry box's text when it got the focus
    std::vector<std::string> focusChosen_; // the focused pick list's selection then
    std::string kept_;                     // value lines waiting for the host's DC1
};

} // namespace kalvor::forms
