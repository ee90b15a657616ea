// The forms demonstration's dialogue, without sockets: what the host sends
// to start forms mode (ESC % k 0 F, the form, ESC % k C, the first values
// and a GOTO), and its answer to each line the terminal sends back: value
// lines ("NAME:value") and function-key lines ("HELP:Help") are listed in
// the form's received-lines fields and answered with host command lines; the
// Exit button, F12 or a line that is not a value line (the forms window was
// closed and Return typed) ends the demonstration with ESC % k R.
#pragma once

#include <deque>
#include <map>
#include <string>

namespace kalvor::demohost {

// The form text with the picture server's port filled in, lines ended by CR LF.
std::string DemoFormText(int picturePort);

class FormsDemo {
public:
    static constexpr std::size_t kShownLines = 5;      // the form's RECEIVED1 .. RECEIVED5
    static constexpr std::size_t kShownLineChars = 82; // the fields' length

    struct Reply {
        std::string Text;   // host command lines (and escape sequences) to send
        bool Leave = false; // back to the character menu
    };

    std::string Start(int picturePort);
    // One line from the terminal, its CR removed.
    Reply Line(const std::string& line);

private:
    std::string Values(const std::map<std::string, std::string>& values);
    std::string Check();
    std::string Shown() const;

    std::deque<std::string> heard_;
    std::map<std::string, std::string> known_; // the last value of each object, by upper-case name
};

} // namespace kalvor::demohost
