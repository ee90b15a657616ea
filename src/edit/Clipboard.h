// The clipboard the Edit menu copies to and pastes from: the system's in the
// desktop program, a string in the headless terminal.
#pragma once

#include <string>

namespace kalvor::edit {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};

// A clipboard that is only a string (the headless terminal, tests).
class StringClipboard final : public Clipboard {
public:
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }

private:
    std::string text_;
};

} // namespace kalvor::edit
