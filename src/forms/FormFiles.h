// The files of a form download: the form's text as received and the form
// log (a second copy of each form). Both belong to one program instance:
// several Kalvor windows may run on one program folder at once, and each
// receives its own forms.
#pragma once

#include <filesystem>

namespace kalvor::forms {

struct FormFiles {
    std::filesystem::path Form; // the text of the form being or last received
    std::filesystem::path Log;  // the form log

    // "form.txt" and "cvform.txt" in this instance's temporary folder.
    static FormFiles OfThisInstance();
};

} // namespace kalvor::forms
