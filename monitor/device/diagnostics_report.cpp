#include "monitor/device/diagnostics_report.h"

#include "common/text_lines.h"

#include <algorithm>
#include <cctype>

namespace device {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kBlanked = "<private>";
// Shorter names would blank out ordinary words and numbers of the report.
constexpr std::size_t kShortestPrivateName = 3;

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool ContainsNoCase(const std::string& text, const std::string& word) {
    return std::search(text.begin(), text.end(), word.begin(), word.end(),
                       [](char a, char b) { return Lower(a) == Lower(b); }) != text.end();
}

void AddName(std::vector<std::string>& names, const std::string& name) {
    if (name.size() >= kShortestPrivateName &&
        std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
}

// A path, and its file name when it has a folder.
void AddPath(std::vector<std::string>& names, const std::string& path) {
    AddName(names, path);
    const std::size_t slash = path.find_last_of("\\/");
    if (slash != std::string::npos)
        AddName(names, path.substr(slash + 1));
}

template <std::size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, settings::FieldLength(field));
}

std::string Blank(std::string text, const std::vector<std::string>& names) {
    for (const std::string& name : names) {
        for (;;) {
            const auto found = std::search(text.begin(), text.end(), name.begin(), name.end(),
                                           [](char a, char b) { return Lower(a) == Lower(b); });
            if (found == text.end())
                break;
            const auto at = static_cast<std::size_t>(found - text.begin());
            text.replace(at, name.size(), kBlanked);
        }
    }
    return text;
}

class ReportText {
  public:
    explicit ReportText(const std::vector<std::string>& names) : names_(names) {}
    void Section(const char* title) {
        if (!text_.empty())
            text_ += kCrLf;
        text_ += "== ";
        text_ += title;
        text_ += " ==";
        text_ += kCrLf;
    }
    void Line(const std::string& line) {
        text_ += Blank(line, names_);
        text_ += kCrLf;
    }
    void Field(const char* name, const std::string& value) {
        Line(std::string(name) + ": " + value);
    }
    std::string Take() { return std::move(text_); }

  private:
    const std::vector<std::string>& names_;
    std::string text_;
};

}  // namespace

std::vector<std::string> PrivateNames(const settings::SettingsBlock& block) {
    std::vector<std::string> names;
    for (const settings::ProfileRecord& profile : block.profiles) {
        AddName(names, FieldText(profile.ProFileName));
        AddPath(names, FieldText(profile.GameFile));
        for (const settings::ButtonAssignment& button : profile.MacroKeyInfo) {
            AddName(names, FieldText(button.macroName));
            AddPath(names, FieldText(button.programPath));
        }
    }
    // Longest first: a path goes before its own file name.
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    return names;
}

std::vector<std::string> ChannelLines(const std::string& deviceReport) {
    std::vector<std::string> out;
    for (const std::string& line : text::SplitLines(deviceReport)) {
        // A description file the library refused changes how it talks to the
        // mouse just as much: the log names it too.
        // Indented lines belong to what stands above them (an interface, the
        // library's recent lines): the log takes the channels' own lines.
        if (line.empty() || line[0] == ' ')
            continue;
        if (ContainsNoCase(line, "channel") || line.rfind("device description:", 0) == 0)
            out.push_back(line);
    }
    return out;
}

std::string BuildDiagnosticsReport(const DiagnosticsFacts& facts,
                                   const std::vector<std::string>& privateNames) {
    ReportText report(privateNames);
    report.Section("Program");
    report.Field("Monitor", facts.programVersion);
    if (!facts.monitorState.empty())
        report.Field("Monitor state", facts.monitorState);
    report.Field("Device library",
                 facts.libraryVersion.empty() ? "not loaded" : facts.libraryVersion);
    report.Field("Library diagnostics", facts.diagnosticsAvailable ? "available" : "not available");

    report.Section("System");
    report.Field("Windows", facts.windowsVersion);
    report.Field("Display scale", std::to_string(facts.displayScalePercent) + " %");

    report.Section("Mouse");
    report.Field("Present", !facts.mouseStateKnown ? "unknown (the running Monitor holds it)"
                            : facts.mousePresent   ? "yes"
                                                   : "no");

    report.Section("Interfaces");
    const std::vector<std::string> device = text::SplitLines(facts.deviceReport);
    if (device.empty())
        report.Line("(nothing known)");
    for (const std::string& line : device) report.Line(line);

    report.Section("Chosen channels");
    const std::vector<std::string> channels = ChannelLines(facts.deviceReport);
    if (channels.empty())
        report.Line("(none reported)");
    for (const std::string& line : channels) report.Line(line);

    report.Section("Crash dumps");
    if (facts.crashDumpName.empty()) {
        report.Line("(none)");
    } else {
        report.Field("Latest", facts.crashDumpName);
        report.Field("Size", std::to_string(facts.crashDumpBytes) + " bytes");
        report.Field("Written", facts.crashDumpWritten);
    }

    report.Section("Monitor log");
    if (facts.logLines.empty())
        report.Line("(empty)");
    for (const std::string& line : facts.logLines) report.Line(line);

    report.Section("Last capture");
    if (facts.capturePath.empty()) {
        report.Line("(none)");
    } else {
        report.Field("File", facts.capturePath);
        if (facts.captureCut)
            report.Line("(its head and its end follow; the middle is left out)");
        for (const std::string& line : text::SplitLines(facts.captureText)) report.Line(line);
    }
    return report.Take();
}

}  // namespace device
