// The files of a form download: the form's text as received and the form
// log (a second copy of each form). Both belong to one program instance:
// several Kalvor windows may run on one program folder at once, and each
// receives its own forms.
#pragma once

#include <filesystem>
#include <fstream>
#include <string_view>
#include <system_error>
#include <utility>

namespace kalvor::forms {

struct FormFiles {
    std::filesystem::path Form; // the text of the form being or last received
    std::filesystem::path Log;  // the form log

    // "form.txt" and "cvform.txt" in this instance's temporary folder.
    static FormFiles OfThisInstance();
};

// One form download into its files, as both receivers (the terminal and the
// Canvo window) write it: the text goes unchanged to the form file and to
// the form log; a finished form keeps its file, an abandoned one loses it.
class FormFileWriter {
public:
    explicit FormFileWriter(FormFiles files) : files_(std::move(files)) {}

    const FormFiles& Files() const { return files_; }
    bool Open() const { return form_.is_open(); }

    // A download in progress is abandoned; the folders are created, the form
    // log begins empty and the form file is created empty. The system's
    // error when the form file cannot be created (nothing is open then).
    [[nodiscard]] std::error_code Start();
    void Write(std::string_view text);
    // The form is whole, or kept as it is: both files closed.
    void Close();
    // Both files closed and the partial form file deleted, while open.
    void Abandon();

private:
    FormFiles files_;
    std::ofstream form_;
    std::ofstream log_;
};

} // namespace kalvor::forms
