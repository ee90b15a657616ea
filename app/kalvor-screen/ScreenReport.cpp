#include "ScreenReport.h"

#include "base/JsonText.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace kalvor {
namespace {

std::string_view TrimRight(std::string_view s)
{
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

void PutRuns(std::string& out, std::string_view runs)
{
    out.push_back('[');
    for (std::size_t i = 1; i + 1 < runs.size(); i += 2) {
        if (i > 1)
            out.push_back(',');
        out.push_back('[');
        PutJsonString(out, runs.substr(i, 1));
        out.push_back(',');
        out.append(std::to_string(static_cast<std::uint8_t>(runs[i + 1])));
        out.push_back(']');
    }
    out.push_back(']');
}

void PutRow(std::string& out, const DisplayRow* row)
{
    static const DisplayRow kEmpty;
    const DisplayRow& r = row != nullptr ? *row : kEmpty;
    out.append("{\"text\":");
    PutJsonString(out, TrimRight(r.Text));
    out.append(",\"enh\":");
    PutRuns(out, r.Cntl);
    out.append(",\"set\":");
    PutRuns(out, r.Shift);
    out.append(",\"fields\":");
    PutRuns(out, r.Form);
    out.append(",\"linestart\":");
    out.append(std::to_string(row != nullptr ? r.LineStartCol : 0));
    out.push_back('}');
}

// Calls f(row or nullptr) for each printed row.
template <typename F>
void ForEachRow(const DisplayMemory& mem, bool wholeMemory, F&& f)
{
    if (wholeMemory) {
        const int used = mem.UsedRows();
        for (int age = 0; age < used; ++age)
            f(&mem.Row(mem.Wrap(mem.FirstRow + age)));
        return;
    }
    for (int r = 0; r < mem.RowsInTerm; ++r) {
        const int ring = mem.ScreenRowToRing(r);
        f(ring < 0 ? nullptr : &mem.Row(ring));
    }
}

} // namespace

std::string EditJsonMembers(const edit::Selection& sel, const DisplayMemory& mem, std::string_view clipboard)
{
    std::string out = "\"selection\":";
    if (const auto r = edit::ToScreen(sel, mem)) {
        out.append("{\"start\":[" + std::to_string(r->StartRow) + "," + std::to_string(r->StartCol) + "],\"end\":[" +
                   std::to_string(r->EndRow) + "," + std::to_string(r->EndCol) +
                   "],\"rect\":" + (r->Rect ? "true" : "false") + "}");
    } else {
        out.append("null");
    }
    out.append(",\"clipboard\":");
    PutJsonString(out, clipboard);
    return out;
}

std::string StateJsonMembers(const TerminalSettings& st, int bells, const SoftKeyView& keys)
{
    const auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
    std::string straps;
    const std::pair<char, bool> letters[] = {{'A', st.Strap.A}, {'B', st.Strap.B},
                                             {'C', st.MarginWrap}, {'D', st.Strap.PageStrapping()},
                                             {'G', st.Strap.G}, {'H', st.Strap.H}, {'N', st.EscapeLogging}};
    for (const auto& [letter, set] : letters)
        if (set)
            straps.push_back(letter);
    std::string out = "\"terminal\":{\"bells\":" + std::to_string(bells) + ",\"remote\":" + flag(st.RemoteMode) +
                      ",\"block\":" + flag(st.BlockMode()) + ",\"linemodify\":" + flag(st.ModeBits & kLineModify) +
                      ",\"modifyall\":" + flag(st.ModeBits & kModifyAll) + ",\"format\":" + flag(st.FormatMode) +
                      ",\"insert\":" + flag(st.InsertMode) + ",\"autolf\":" + flag(st.AutoLineFeed) +
                      ",\"functions\":" + flag(st.DisplayFunctions) + ",\"record\":" + std::to_string(st.RecordMode) +
                      ",\"routing\":" + std::to_string(st.OutputRouting) + ",\"locked\":" + flag(st.KeyboardLocked) +
                      ",\"capslock\":" + flag(st.CapsLock) + ",\"bell\":" + flag(st.BellOn) +
                      ",\"eightbit\":" + flag(st.EightBitData) + ",\"inputoption\":" + flag(st.InputOption) +
                      ",\"memlock\":" + flag(st.MemLock.On) + ",\"cursorform\":" + std::to_string(st.CursorForm) +
                      ",\"cursorhidden\":" + flag(st.CursorHidden) + ",\"scheme\":" + std::to_string(st.ColorScheme) +
                      ",\"inverse\":" + flag(st.InverseScreen) + ",\"straps\":";
    PutJsonString(out, straps);
    out.append(",\"remap\":{");
    bool first = true;
    for (std::size_t k = 0; k < st.KeyRemap.size(); ++k) {
        if (st.KeyRemap[k].empty())
            continue;
        out.append((first ? "\"" : ",\"") + std::to_string(k) + "\":");
        PutJsonString(out, st.KeyRemap[k]);
        first = false;
    }
    out.append("}},\"softkeys\":{\"set\":" + std::to_string(keys.CurrentSet()) +
               ",\"shown\":" + flag(keys.LabelsShown()) + ",\"tabpanel\":" + flag(keys.TabPanelShown()) +
               ",\"definitions\":" + flag(keys.DefinitionMenuEnabled()) + ",\"labels\":[");
    for (int b = 0; b < 8; ++b) {
        out.append(b == 0 ? "[" : ",[");
        PutJsonString(out, keys.ButtonLabel(b).Line1);
        out.push_back(',');
        PutJsonString(out, keys.ButtonLabel(b).Line2);
        out.push_back(']');
    }
    out.append("],\"message\":");
    if (keys.MessagePanelShown())
        PutJsonString(out, keys.MessageText());
    else
        out.append("null");
    out.push_back('}');
    return out;
}

void WriteTextReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory)
{
    std::string buf;
    ForEachRow(mem, wholeMemory, [&](const DisplayRow* row) {
        if (row != nullptr)
            PutLatin1(buf, TrimRight(row->Text));
        buf.push_back('\n');
        if (buf.size() > 60000) {
            out << buf;
            buf.clear();
        }
    });
    buf.append("cursor " + std::to_string(mem.CurRow) + " " + std::to_string(mem.CurCol) + "\n");
    out << buf;
}

void WriteJsonReport(std::ostream& out, const DisplayMemory& mem, bool wholeMemory, std::string_view extraMembers)
{
    std::string buf;
    buf.append("{\"cols\":" + std::to_string(mem.ColsInTerm) + ",\"rows\":" + std::to_string(mem.RowsInTerm) +
               ",\"cursor\":{\"row\":" + std::to_string(mem.CurRow) + ",\"col\":" + std::to_string(mem.CurCol) +
               "},\"top\":" + std::to_string(mem.TopRow) + ",\"first\":" + std::to_string(mem.FirstRow) +
               ",\"last\":" + std::to_string(mem.LastRow) + ",");
    if (!extraMembers.empty()) {
        buf.append(extraMembers);
        buf.push_back(',');
    }
    buf.append(std::string("\"") + (wholeMemory ? "memory" : "screen") + "\":[");
    bool first = true;
    ForEachRow(mem, wholeMemory, [&](const DisplayRow* row) {
        if (!first)
            buf.push_back(',');
        first = false;
        buf.push_back('\n');
        PutRow(buf, row);
        if (buf.size() > 60000) {
            out << buf;
            buf.clear();
        }
    });
    buf.append("]}\n");
    out << buf;
}

} // namespace kalvor
