#include "HeadlessScript.h"

#include "ScreenReport.h"

#include <system_error>

namespace kalvor {

HeadlessScript::HeadlessScript(Session& session, const std::filesystem::path& file) : session_(session)
{
    prepared_ = session.PrepareScript(file);
}

std::string HeadlessScript::JsonMember() const
{
    const script::ScriptState& st = session_.LogonScript();
    const auto flag = [](bool b) { return b ? std::string("true") : std::string("false"); };
    std::string out = "\"script\":{\"prepared\":" + flag(prepared_) + ",\"running\":" + flag(st.Running) + ",\"kind\":";
    PutJsonString(out, st.TargetType());
    out += ",\"target\":";
    PutJsonString(out, st.TargetText);
    out += ",\"port\":";
    PutJsonString(out, st.PortText);
    out += ",\"caption\":";
    PutJsonString(out, caption_);
    out += ",\"status\":";
    PutJsonString(out, status_);
    out += ",\"timer\":" + flag(timerRunning_) + ",\"shown\":" + flag(shown_) + ",\"forms\":";
    PutJsonString(out, st.Forms == script::FormsRequest::None        ? "none"
                       : st.Forms == script::FormsRequest::Requested ? "requested"
                                                                     : "done");
    std::error_code ec;
    out += ",\"working\":" + flag(std::filesystem::exists(session_.WorkingScript(), ec)) + "}";
    return out;
}

} // namespace kalvor
