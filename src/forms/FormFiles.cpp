#include "forms/FormFiles.h"

#include "base/ProgramInstance.h"

namespace kalvor::forms {

FormFiles FormFiles::OfThisInstance() { return {ProgramFile("temp/form.txt"), ProgramFile("temp/cvform.txt")}; }

} // namespace kalvor::forms
