#include "forms/FormFiles.h"

#include "base/ProgramInstance.h"

#include <cerrno>

namespace kalvor::forms {

FormFiles FormFiles::OfThisInstance() { return {ProgramFile("temp/form.txt"), ProgramFile("temp/cvform.txt")}; }

std::error_code FormFileWriter::Start()
{
    Abandon();
    std::error_code ec;
    std::filesystem::create_directories(files_.Log.parent_path(), ec);
    std::filesystem::remove(files_.Log, ec);
    log_.open(files_.Log, std::ios::binary | std::ios::trunc);
    int error = 0;
    for (int attempt = 0; attempt < 3 && !form_.is_open(); ++attempt) {
        std::filesystem::create_directories(files_.Form.parent_path(), ec);
        errno = 0;
        form_.open(files_.Form, std::ios::binary | std::ios::trunc);
        error = errno != 0 ? errno : EACCES;
    }
    if (form_.is_open())
        return {};
    log_.close();
    return {error, std::generic_category()};
}

void FormFileWriter::Write(std::string_view text)
{
    if (text.empty() || !form_.is_open())
        return;
    form_.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (log_.is_open())
        log_.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void FormFileWriter::Close()
{
    form_.close();
    log_.close();
}

void FormFileWriter::Abandon()
{
    if (!form_.is_open())
        return;
    Close();
    std::error_code ec;
    std::filesystem::remove(files_.Form, ec);
}

} // namespace kalvor::forms
