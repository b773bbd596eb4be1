#include "platform/FileHive.h"

#include "platform/AtomicFile.h"
#include "platform/HiveError.h"
#include "platform/ReadFileIfExists.h"
#include "platform/SystemErrorText.h"

#include <optional>
#include <utility>
#include <vector>

namespace tilava {

namespace {

constexpr std::string_view kAutostartValue = "ZelmTilava";

std::string_view SectionOf(HiveKey key) {
    return key == HiveKey::Settings ? "Settings" : "Run";
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) {
            break;
        }
        text.remove_prefix(end + 1);
    }
    return lines;
}

// Values may hold any text: backslash, line breaks and tabs are escaped in the file.
std::string EscapeValue(std::string_view text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string UnescapeValue(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (const char next = text[++i]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 's':
            out += ' ';
            break;
        default:
            out += next;
        }
    }
    return out;
}

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> values;

    std::string* Find(std::string_view key) {
        for (auto& [name, value] : values) {
            if (name == key) {
                return &value;
            }
        }
        return nullptr;
    }
};

// The parsed INI file; lines that are neither a section, a value nor a comment are skipped.
struct Ini {
    std::vector<Section> sections;

    static Ini Parse(std::string_view text) {
        Ini ini;
        Section* current = nullptr;
        for (const std::string_view raw : Lines(text)) {
            const std::string_view line = Trim(raw);
            if (line.empty() || line.front() == ';' || line.front() == '#') {
                continue;
            }
            if (line.front() == '[' && line.back() == ']') {
                current = &ini.Add(line.substr(1, line.size() - 2));
                continue;
            }
            const auto equals = line.find('=');
            if (current == nullptr || equals == std::string_view::npos) {
                continue;
            }
            const std::string key(Trim(line.substr(0, equals)));
            std::string value = UnescapeValue(raw.substr(raw.find('=') + 1));
            if (std::string* existing = current->Find(key)) {
                *existing = std::move(value);
            } else {
                current->values.emplace_back(key, std::move(value));
            }
        }
        return ini;
    }

    Section* Find(std::string_view name) {
        for (auto& section : sections) {
            if (section.name == name) {
                return &section;
            }
        }
        return nullptr;
    }

    Section& Add(std::string_view name) {
        if (Section* section = Find(name)) {
            return *section;
        }
        sections.push_back({std::string(name), {}});
        return sections.back();
    }

    std::string Format() const {
        std::string out = "# Tilava\n";
        for (const auto& section : sections) {
            out += "\n[" + section.name + "]\n";
            for (const auto& [key, value] : section.values) {
                out += key + "=" + EscapeValue(value) + "\n";
            }
        }
        return out;
    }
};

bool ValidName(std::string_view name) {
    if (name.empty() || Trim(name) != name) {
        return false;
    }
    if (name.front() == '[' || name.front() == ';' || name.front() == '#') {
        return false;
    }
    return name.find_first_of("=\n\r") == std::string_view::npos;
}

std::string FolderError(const std::filesystem::path& folder, const std::error_code& error) {
    return "Priečinok „" + PathText(folder) + "“ sa nedá vytvoriť: " + SystemErrorText(error);
}

[[noreturn]] void Refuse(std::string_view name, bool deleting, const std::string& reason) {
    throw HiveError("Nastavenie „" + std::string(name) + "“ sa nedá " +
                    (deleting ? "zmazať" : "uložiť") + ": " + reason);
}

// A settings file that exists but cannot be read is never overwritten: its other values would
// be lost.
Ini LoadForChange(const std::filesystem::path& file, std::string_view name, bool deleting) {
    try {
        const auto bytes = ReadFileIfExists(file);
        return bytes ? Ini::Parse(*bytes) : Ini{};
    } catch (const FileError& error) {
        Refuse(name, deleting, error.what());
    }
}

void Save(const std::filesystem::path& file, const Ini& ini, std::string_view name, bool deleting) {
    try {
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            throw FileError(file.parent_path(), FolderError(file.parent_path(), error));
        }
        ReplaceFileAtomically(file, ini.Format());
    } catch (const FileError& error) {
        Refuse(name, deleting, error.what());
    }
}

struct DesktopEntry {
    std::optional<std::string> exec;
    bool disabled = false;
};

DesktopEntry ParseDesktopEntry(std::string_view text) {
    DesktopEntry entry;
    bool inMainGroup = false;
    for (const std::string_view raw : Lines(text)) {
        const std::string_view line = Trim(raw);
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inMainGroup || equals == std::string_view::npos) {
            continue;
        }
        const std::string_view key = Trim(line.substr(0, equals));
        const std::string_view value = Trim(line.substr(equals + 1));
        if (key == "Exec") {
            entry.exec = std::string(value);
        } else if (key == "Hidden" && value == "true") {
            entry.disabled = true;
        } else if (key == "X-GNOME-Autostart-enabled" && value == "false") {
            entry.disabled = true;
        }
    }
    return entry;
}

std::string Unquote(std::string_view command) {
    if (command.size() >= 2 && command.front() == '"' && command.back() == '"') {
        command = command.substr(1, command.size() - 2);
    }
    return std::string(command);
}

} // namespace

FileHive::FileHive(std::filesystem::path configHome) : configHome_(std::move(configHome)) {}

std::filesystem::path FileHive::SettingsFile() const {
    return configHome_ / "ZELMtilava" / "settings.ini";
}

std::filesystem::path FileHive::AutostartFile() const {
    return configHome_ / "autostart" / "ZelmTilava.desktop";
}

std::string FileHive::ExecFor(std::string_view programPath) {
    // The path as one quoted argument; inside the quotes ", `, $ and \ take a backslash,
    // % is doubled (field codes), and then the whole value gets the string escapes.
    std::string quoted = "\"";
    for (const char c : programPath) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            quoted += '\\';
        } else if (c == '%') {
            quoted += '%';
        }
        quoted += c;
    }
    quoted += '"';
    return EscapeValue(quoted);
}

std::string FileHive::ProgramFromExec(std::string_view exec) {
    const std::string command = UnescapeValue(exec);
    std::string program;
    std::size_t i = 0;
    if (!command.empty() && command.front() == '"') {
        for (i = 1; i < command.size() && command[i] != '"'; ++i) {
            if (command[i] == '\\' && i + 1 < command.size()) {
                ++i;
            }
            program += command[i];
        }
    } else {
        program = command.substr(0, command.find(' '));
    }
    std::string unescaped;
    for (i = 0; i < program.size(); ++i) {
        unescaped += program[i];
        if (program[i] == '%' && i + 1 < program.size() && program[i + 1] == '%') {
            ++i;
        }
    }
    return unescaped;
}

bool FileHive::KeyExists(HiveKey key) const {
    if (key == HiveKey::Startup) {
        // The autostart folder and the [Run] section are created when needed.
        return true;
    }
    try {
        const auto bytes = ReadFileIfExists(SettingsFile());
        return bytes && Ini::Parse(*bytes).Find(SectionOf(key)) != nullptr;
    } catch (const FileError&) {
        return false;
    }
}

HiveValue FileHive::ReadValue(HiveKey key, std::string_view name) const {
    try {
        if (key == HiveKey::Startup && name == kAutostartValue) {
            const auto bytes = ReadFileIfExists(AutostartFile());
            if (!bytes) {
                return {};
            }
            const DesktopEntry entry = ParseDesktopEntry(*bytes);
            if (entry.disabled || !entry.exec || entry.exec->empty()) {
                return {};
            }
            return {ValueKind::String, "\"" + ProgramFromExec(*entry.exec) + "\""};
        }
        const auto bytes = ReadFileIfExists(SettingsFile());
        if (!bytes) {
            return {};
        }
        Ini ini = Ini::Parse(*bytes);
        Section* section = ini.Find(SectionOf(key));
        const std::string* value = section ? section->Find(name) : nullptr;
        return value ? HiveValue{ValueKind::String, *value} : HiveValue{};
    } catch (const FileError&) {
        return {};
    }
}

void FileHive::WriteString(HiveKey key, std::string_view name, std::string_view text) {
    if (!ValidName(name)) {
        Refuse(name, false, "názov nie je platný");
    }
    if (key == HiveKey::Startup && name == kAutostartValue) {
        const std::string content = "[Desktop Entry]\n"
                                    "Type=Application\n"
                                    "Name=Tilava\n"
                                    "Comment=Menný kalendár s pripomienkami\n"
                                    "Exec=" +
                                    ExecFor(Unquote(text)) +
                                    "\n"
                                    "Terminal=false\n"
                                    "X-GNOME-Autostart-enabled=true\n";
        try {
            std::error_code error;
            std::filesystem::create_directories(AutostartFile().parent_path(), error);
            if (error) {
                Refuse(name, false, FolderError(AutostartFile().parent_path(), error));
            }
            ReplaceFileAtomically(AutostartFile(), content);
        } catch (const FileError& error) {
            Refuse(name, false, error.what());
        }
        return;
    }
    const std::filesystem::path file = SettingsFile();
    Ini ini = LoadForChange(file, name, false);
    Section& section = ini.Add(SectionOf(key));
    if (std::string* value = section.Find(name)) {
        if (*value == text) {
            return;
        }
        *value = std::string(text);
    } else {
        section.values.emplace_back(std::string(name), std::string(text));
    }
    Save(file, ini, name, false);
}

void FileHive::DeleteValue(HiveKey key, std::string_view name) {
    if (key == HiveKey::Startup && name == kAutostartValue) {
        try {
            RemoveFile(AutostartFile());
        } catch (const FileError& error) {
            Refuse(name, true, error.what());
        }
        return;
    }
    const std::filesystem::path file = SettingsFile();
    Ini ini = LoadForChange(file, name, true);
    Section* section = ini.Find(SectionOf(key));
    if (section == nullptr || section->Find(name) == nullptr) {
        return;
    }
    std::erase_if(section->values, [&](const auto& value) { return value.first == name; });
    Save(file, ini, name, true);
}

} // namespace tilava
