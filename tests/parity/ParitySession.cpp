#include "parity/ParitySession.h"

#include "parity/ParityFace.h"
#include "support/ShippedProfile.h"
#include "window/ControlIds.h"
#include "window/DialogTemplate.h"
#include "window/MainWindow.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <sstream>

namespace {

constexpr int kPriceEditor = 4711; // the in-place editor's id in either face

std::string Escaped(const std::string& text)
{
    std::string escaped;
    for (const char c : text) {
        if (c == '\n')
            escaped += "\\n";
        else if (c == '\t')
            escaped += "\\t";
        else if (c == '\\')
            escaped += "\\\\";
        else if (c != '\r')
            escaped += c;
    }
    return escaped;
}

template <class T> std::string Joined(const std::vector<T>& parts, const std::string& separator)
{
    std::ostringstream joined;
    for (std::size_t i = 0; i < parts.size(); ++i)
        joined << (i ? separator : "") << parts[i];
    return joined.str();
}

// Tab goes round: the order starts at the control that the template names first.
std::vector<int> FromFirstInTemplate(std::vector<int> order, const CDialogTemplate& layout)
{
    for (const CDialogControl& control : layout.m_controls) {
        const auto first = std::find(order.begin(), order.end(), control.nId);
        if (first != order.end()) {
            std::rotate(order.begin(), first, order.end());
            break;
        }
    }
    return order;
}

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

// "<step>/<key>" to value; a step starts with "== <step>", its lines are "<key>: <value>".
std::map<std::string, std::string> Keyed(const std::vector<std::string>& record)
{
    std::map<std::string, std::string> keyed;
    std::string step;
    for (const std::string& line : record) {
        const std::size_t colon = line.find(':');
        if (line.rfind("== ", 0) == 0)
            step = line.substr(3);
        else if (colon != std::string::npos)
            keyed[step + "/" + line.substr(0, colon)]
                = line.substr(std::min(colon + 2, line.size()));
    }
    return keyed;
}

// A line of the allow-list: "<face> | <regular expression for keys> | <reason>".
struct SAllowance {
    std::string line;
    std::regex keys;
    bool used = false;
};

std::vector<SAllowance> Allowances(const std::string& face)
{
    std::vector<SAllowance> allowances;
    for (const std::string& line : ReadLines(QUOTINO_PARITY_DIR "/allowed-differences.txt")) {
        const std::size_t first = line.find(" | ");
        const std::size_t second = first == std::string::npos ? first : line.find(" | ", first + 3);
        if (line.empty() || line[0] == '#' || second == std::string::npos
            || line.substr(0, first) != face)
            continue;
        allowances.push_back({ line, std::regex(line.substr(first + 3, second - first - 3)) });
    }
    return allowances;
}

} // namespace

CParitySession::CParitySession()
{
    m_server.Server().Get("/(ok|fail)", [this](const httplib::Request& request, auto& response) {
        ++m_nRequests;
        if (m_bStall)
            m_server.Stall();
        if (request.matches[1] == "ok")
            response.set_content("Karotte\t0,45\ngelbe Teichrose\t11,50\n", "text/plain");
        else
            response.status = 500;
    });
    m_server.Start();
    const std::string path = m_dir.file("quotino.ini");
    WriteServersProfile(
        path, { { "Server A", m_server.Url("/ok") }, { "Server B", m_server.Url("/fail") } });
    m_pApp = std::make_unique<CQuotinoApp>(path, m_clock);
    m_pApp->InitInstance();
}

void CParitySession::Run(IParityFace& face)
{
    using EKey = IParityFace::EKey;
    Step(face, "start");
    face.Copy(kExampleList);
    face.PressKey(IDC_INPUT, EKey::Paste);
    Step(face, "worked example pasted");
    face.Click(IDC_TOGGLE_PANE);
    Step(face, "pane toggled");
    face.Click(IDC_TOGGLE_PANE);
    Step(face, "pane toggled back");
    face.Click(IDC_MAX_FARM);
    Step(face, "market prices capped at the farm price");
    face.Click(IDC_LOCKED);
    Step(face, "prices unlocked");
    face.ChooseCommand(IDM_WATCH_CLIPBOARD);
    Step(face, "clipboard watched");
    for (const char* language : { "English", "Nederlands", "Fran\u00E7ais", "Deutsch" })
        ChooseLanguage(face, language);
    face.WithDialog([&] { face.ChooseCommand(IDM_LANGUAGE); },
        [&] {
            face.ClickItem(IDC_LANGUAGE_LIST, 1);
            face.PressKey(IDC_LANGUAGE_LIST, EKey::Escape);
        });
    Step(face, "English clicked, language dialog cancelled");

    face.WithDialog([&] { face.Click(IDC_DETAILS); },
        [&] {
            Step(face, "details", IDD_DETAILS);
            face.PressKey(IDC_DETAILS_LEVELS, EKey::Up);
            Step(face, "details, level below", IDD_DETAILS);
            for (const int origin : { 0, 4 })
                face.ClickItem(IDC_DETAILS_ORIGINS, origin);
            Step(face, "details, two origins clicked off", IDD_DETAILS);
            face.Click(IDC_OK);
        });
    Step(face, "details taken");
    face.WithDialog([&] { face.Click(IDC_SELECT_SERVERS); },
        [&] {
            Step(face, "server selection", IDD_SERVERS);
            face.Click(IDC_OK);
        });
    Step(face, "servers selected");

    face.PressKey(IDC_SERVERS, EKey::Down);
    Step(face, "failing server chosen");
    face.Click(IDC_DOWNLOAD);
    WaitForCommand(face);
    Step(face, "download failed");
    face.PressKey(IDC_SERVERS, EKey::Up);
    face.Click(IDC_DOWNLOAD);
    WaitForCommand(face);
    Step(face, "download succeeded");

    m_bStall = true;
    const int before = m_nRequests;
    face.Click(IDC_DOWNLOAD_ALL);
    face.RunUntil([&] { return m_nRequests > before; });
    Step(face, "download all running");
    face.PressKey(IDC_INPUT, EKey::Escape);
    WaitForCommand(face);
    Step(face, "download all stopped");
    m_bStall = false;

    // The failing server's list gets the working address, which its next download uses: the
    // address changes at once and stays when the selection is cancelled.
    face.WithDialog([&] { face.Click(IDC_SELECT_SERVERS); },
        [&] {
            face.ClickItem(IDC_SERVER_LIST, 1);
            Step(face, "server selection, failing server clicked", IDD_SERVERS);
            face.WithDialog([&] { face.Click(IDC_SERVER_ADDRESS); },
                [&] {
                    Step(face, "address dialog", IDD_SERVER_ADDRESS);
                    face.Type(IDC_ADDRESS, m_server.Url("/ok"));
                    Step(face, "address typed", IDD_SERVER_ADDRESS);
                    face.Click(IDC_OK);
                });
            Step(face, "address changed", IDD_SERVERS);
            face.Click(IDC_CANCEL);
        });
    face.PressKey(IDC_SERVERS, EKey::Down);
    face.Click(IDC_DOWNLOAD);
    WaitForCommand(face);
    Step(face, "download from the changed address");

    face.Copy("Pflanze\tPreis\ngelbe Teichrose\t12,50\n");
    face.PressKey(IDC_INPUT, EKey::PastePrices);
    WaitForCommand(face);
    Step(face, "price list pasted");

    const std::string exported = m_dir.file("exported.tsv");
    face.WithDialog(
        [&] { face.ChooseCommand(IDM_EXPORT_PRICES); }, [&] { face.AnswerFileDialog(exported); });
    Step(face, "prices exported");
    std::ifstream file(exported, std::ios::binary);
    m_record.push_back("file: " + Shown(std::string(std::istreambuf_iterator<char>(file), {})));

    // A price edited in place: no editor while the prices are locked, Return takes the typed
    // price, Escape drops it.
    face.Click(IDC_TOGGLE_PANE);
    for (const std::string change : { "prices locked", "prices unlocked" }) {
        face.Click(IDC_LOCKED);
        Step(face, change);
        face.DoubleClickAfter(IDC_PRICE_LIST, "gelbe Teichrose\t13,80\t");
        const SControlSeen editor = face.Read(kPriceEditor);
        m_record.push_back("editor: "
            + (editor.shown ? editor.text + ", selected " + Joined(editor.selected, "-") : "none"));
    }
    face.Type(kPriceEditor, " 13,00 ");
    face.PressKey(kPriceEditor, EKey::Return);
    Step(face, "price edited");
    face.DoubleClickAfter(IDC_PRICE_LIST, "gelbe Teichrose\t13,80\t");
    face.Type(kPriceEditor, "1");
    face.PressKey(kPriceEditor, EKey::Escape);
    Step(face, "price edit dropped");

    // Commands and dialogs added later get their steps here, before the window closes: an
    // action through the face (IParityFace gains what a new control needs), then Step with the
    // template of the window on top.

    face.Click(IDC_CLOSE);
    Step(face, "closed");
}

void CParitySession::ChooseLanguage(IParityFace& face, const std::string& language)
{
    face.WithDialog([&] { face.ChooseCommand(IDM_LANGUAGE); },
        [&] {
            Step(face, "language dialog, " + language + " to choose", IDD_LANGUAGE);
            const std::vector<std::string> items = face.Read(IDC_LANGUAGE_LIST).items;
            const auto item = std::find(items.begin(), items.end(), language);
            face.ClickItem(IDC_LANGUAGE_LIST, static_cast<int>(item - items.begin()));
            face.Click(IDC_OK);
        });
    Step(face, "in " + language);
}

void CParitySession::WaitForCommand(IParityFace& face)
{
    face.RunUntil([&] { return !face.Behaviour().IsBusy(); });
}

// Every control of the window on top in its template's order, and the order Tab visits them;
// only what changed since the window's last step is written.
void CParitySession::Step(IParityFace& face, const std::string& name, int window)
{
    ++m_nSteps;
    m_record.push_back(
        "== " + std::string(m_nSteps < 10 ? "0" : "") + std::to_string(m_nSteps) + " " + name);
    m_record.push_back("window: " + (face.IsOpen() ? std::to_string(window) : "closed"));
    if (!face.IsOpen())
        return;
    const CDialogTemplate layout = CDialogTemplate::Load(window);
    std::map<std::string, std::string>& last = m_lastSeen[window];
    const auto line = [&](const std::string& key, const std::string& value) {
        const std::string shown = Shown(value);
        const auto before = last.find(key);
        if (before == last.end() || before->second != shown)
            m_record.push_back(key + ":" + (shown.empty() ? "" : " ") + shown);
        last[key] = shown;
    };
    line("title", face.Title());
    for (const CDialogControl& control : layout.m_controls) {
        if (control.nId == -1)
            continue;
        const SControlSeen seen = face.Read(control.nId);
        const std::string id = std::to_string(control.nId);
        const bool list = control.kind == CDialogControl::ListBox;
        const bool dropDown = control.kind == CDialogControl::DropDownList;
        if (!list && control.kind != CDialogControl::Icon)
            line(id + " text", seen.text);
        line(id + " tip", seen.tip);
        std::string state = std::string(seen.shown ? "shown" : "hidden")
            + (seen.enabled ? " enabled" : " disabled");
        if (control.kind == CDialogControl::CheckBox)
            state += seen.checked ? " checked" : " unchecked";
        line(id + " state", state);
        if (list || dropDown)
            line(id + " items", Joined(seen.items, " | "));
        if (dropDown)
            line(id + " current", std::to_string(seen.current));
        if (list)
            line(id + " selected", Joined(seen.selected, " "));
    }
    line("tab", Joined(FromFirstInTemplate(face.TabOrder(), layout), " "));
    if (window != IDD_MAIN)
        return;
    for (const int command : { IDM_ABOUT, IDM_LANGUAGE, IDM_IMPORT, IDM_WATCH_CLIPBOARD,
             IDM_PASTE_PRICES, IDM_EXPORT_PRICES }) {
        const SControlSeen seen = face.ReadCommand(command);
        line("menu " + std::to_string(command),
            (seen.shown ? "shown" : "hidden") + std::string(seen.enabled ? " enabled" : " disabled")
                + (seen.checked ? " checked " : " ") + seen.text);
    }
}

// One line; the loopback server's port changes from run to run.
std::string CParitySession::Shown(const std::string& value) const
{
    const std::string port = ":" + std::to_string(m_server.Port());
    std::string shown = Escaped(value);
    for (std::size_t at = shown.find(port); at != std::string::npos; at = shown.find(port, at))
        shown.replace(at, port.size(), ":<port>");
    return shown;
}

std::vector<std::string> CParitySession::Compare(const std::string& face) const
{
    std::ofstream(QUOTINO_PARITY_RECORD_DIR "/parity-" + face + ".record", std::ios::binary)
        << Joined(m_record, "\n") << "\n";
    const std::vector<std::string> expectedLines
        = ReadLines(QUOTINO_PARITY_DIR "/session.expected");
    if (expectedLines.empty())
        return { "no expected record in " QUOTINO_PARITY_DIR };
    std::map<std::string, std::string> expected = Keyed(expectedLines);
    const std::map<std::string, std::string> seen = Keyed(m_record);
    for (const auto& [key, value] : seen)
        expected.try_emplace(key, "<none>");
    std::vector<SAllowance> allowances = Allowances(face);
    std::vector<std::string> differences;
    for (const auto& [key, value] : expected) {
        const auto shown = seen.find(key);
        const std::string actual = shown == seen.end() ? "<none>" : shown->second;
        if (actual == value)
            continue;
        const auto allowed = std::find_if(allowances.begin(), allowances.end(),
            [&key](const SAllowance& allowance) { return std::regex_search(key, allowance.keys); });
        if (allowed != allowances.end())
            allowed->used = true;
        else
            differences.push_back(key + "\n  expected: " + value + "\n  " + face + ":   " + actual);
    }
    for (const SAllowance& allowance : allowances) {
        if (!allowance.used)
            differences.push_back("allowed, but no longer different: " + allowance.line);
    }
    return differences;
}
