// Several windows on one program folder. Each running program is an
// instance with a number: the first claims 0 and keeps the usual temporary
// names under "temp"; later ones get "temp/1", "temp/2" ... of their own.
// An instance holds the lock file "temp/instance-N.lock" (an advisory lock
// the system drops when the process ends, however it ends), so a number
// whose lock can be taken belongs to no running program and its temporary
// files may go.
#pragma once

#include <filesystem>
#include <optional>
#include <string_view>

namespace kalvor {

class ProgramInstance {
public:
    // Claims the lowest free number and makes it the current instance of
    // this process while the object lives. nullopt when no lock can be made
    // (the temp folder cannot be written): the usual names are used then.
    static std::optional<ProgramInstance> Claim();
    ProgramInstance(ProgramInstance&& other) noexcept;
    ProgramInstance& operator=(ProgramInstance&&) = delete;
    ProgramInstance(const ProgramInstance&) = delete;
    ProgramInstance& operator=(const ProgramInstance&) = delete;
    ~ProgramInstance();

    int Number() const { return number_; }

    // Removes the temporary folders of numbered instances that no longer
    // run (their lock is free), never the folder of one that does.
    static void RemoveStaleFolders();

private:
    ProgramInstance(int number, int fd) : number_(number), fd_(fd) {}

    int number_;
    int fd_;
};

// The temporary folder of the current instance: "temp" under the program
// folder for instance 0 (and when none is claimed), "temp/N" for later ones.
std::filesystem::path TempFolder();

// A name relative to the program folder ("temp/zkdebug.txt",
// "config/default.zkd") as a path; names in "temp/" lie in TempFolder().
std::filesystem::path ProgramFile(std::string_view name);

} // namespace kalvor
