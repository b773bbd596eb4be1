#include "platform/FileHive.h"

#include "core/BackslashEscape.h"
#include "core/Utf8.h"
#include "platform/AtomicFile.h"
#include "platform/FileStamp.h"
#include "platform/HiveError.h"
#include "platform/ReadFileIfExists.h"
#include "platform/SystemErrorText.h"

#include <optional>
#include <utility>
#include <vector>

namespace tilava {

using namespace std::string_view_literals;

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

// One line of a file as it is on disk: where its text starts, how long it is, and how long its
// line end is ("\n", "\r\n" or "\r"; none for a last line without one).
struct Line {
    std::size_t start = 0;
    std::size_t size = 0;
    std::size_t endSize = 0;
};

// Lines end at LF, CR LF or CR alike, so a file saved by any editor is read as written.
std::vector<Line> SplitLines(std::string_view text, std::size_t from = 0) {
    std::vector<Line> lines;
    std::size_t start = from;
    while (start < text.size()) {
        const auto stop = text.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.push_back({start, text.size() - start, 0});
            break;
        }
        const std::size_t endSize =
            text[stop] == '\r' && stop + 1 < text.size() && text[stop + 1] == '\n' ? 2 : 1;
        lines.push_back({start, stop - start, endSize});
        start = stop + endSize;
    }
    return lines;
}

// Values may hold any text: backslash, line breaks and tabs are escaped in the file
// (BackslashEscaped).
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

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// What a line of the settings file says.
struct Parsed {
    enum Kind { Other, Section, Value } kind = Other;
    std::string_view name;      // of the section or the value
    std::size_t valueStart = 0; // where the value's text starts in the line
};

Parsed Classify(std::string_view raw) {
    const std::string_view line = Trim(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#') {
        return {};
    }
    if (line.front() == '[' && line.back() == ']') {
        return {Parsed::Section, line.substr(1, line.size() - 2), 0};
    }
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return {};
    }
    return {Parsed::Value, Trim(line.substr(0, equals)), raw.find('=') + 1};
}

// The settings file as it is on disk, line by line. A change touches only the line of its
// value (or adds one to the value's section); comments, blank lines, other sections, lines
// outside a section and lines that are not understood stay byte for byte. A UTF-8 byte-order
// mark is kept, and new lines end as the file's first line does (LF in a new file).
class IniFile {
public:
    explicit IniFile(std::string bytes) : bytes_(std::move(bytes)) {
        const std::size_t from =
            std::string_view(bytes_).starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
        lines_ = SplitLines(bytes_, from);
        for (const Line& line : lines_) {
            if (line.endSize > 0) {
                eol_ = bytes_.substr(line.start + line.size, line.endSize);
                break;
            }
        }
    }

    bool HasSection(std::string_view section) const { return Find(section, {}).last.has_value(); }

    std::optional<std::string> Value(std::string_view section, std::string_view key) const {
        const Found found = Find(section, key);
        if (found.lines.empty()) {
            return std::nullopt;
        }
        const std::size_t line = found.lines.back();
        return UnescapeValue(Text(line).substr(Classify(Text(line)).valueStart));
    }

    // The file with the value set; nothing when it holds that value already.
    std::optional<std::string> With(std::string_view section, std::string_view key,
                                    std::string_view value) const {
        const Found found = Find(section, key);
        const std::string newLine = std::string(key) + "=" + BackslashEscaped(value);
        std::string out = Start();
        if (!found.lines.empty()) {
            // The last line of a value is the one that counts; it alone changes.
            const std::size_t changed = found.lines.back();
            const std::string_view text = Text(changed);
            if (UnescapeValue(text.substr(Classify(text).valueStart)) == value) {
                return std::nullopt;
            }
            for (std::size_t i = 0; i < lines_.size(); ++i) {
                if (i == changed) {
                    out += text.substr(0, Classify(text).valueStart);
                    out += BackslashEscaped(value);
                    out += End(i);
                } else {
                    out += Whole(i);
                }
            }
            return out;
        }
        if (found.last) {
            // A new value goes right after the last value of its section.
            for (std::size_t i = 0; i < lines_.size(); ++i) {
                out += Whole(i);
                if (i == *found.last) {
                    if (End(i).empty()) {
                        out += eol_;
                    }
                    out += newLine;
                    out += eol_;
                }
            }
            return out;
        }
        // A new section goes at the end, after a blank line.
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            out += Whole(i);
        }
        if (lines_.empty()) {
            out += "# Tilava";
            out += eol_;
        } else if (End(lines_.size() - 1).empty()) {
            out += eol_;
        }
        if (lines_.empty() || !Trim(Text(lines_.size() - 1)).empty()) {
            out += eol_;
        }
        out += "[" + std::string(section) + "]";
        out += eol_;
        out += newLine;
        out += eol_;
        return out;
    }

    // The file without the value (every line of it); nothing when it has none.
    std::optional<std::string> Without(std::string_view section, std::string_view key) const {
        const Found found = Find(section, key);
        if (found.lines.empty()) {
            return std::nullopt;
        }
        std::string out = Start();
        std::size_t next = 0;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            if (next < found.lines.size() && found.lines[next] == i) {
                ++next;
                continue;
            }
            out += Whole(i);
        }
        return out;
    }

private:
    struct Found {
        std::vector<std::size_t> lines;  // every line of the value, in file order
        std::optional<std::size_t> last; // the section's last header or value line
    };

    // One pass over the file, so that a read or a write takes time in proportion to its size.
    Found Find(std::string_view section, std::string_view key) const {
        Found found;
        bool inside = false;
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Parsed parsed = Classify(Text(i));
            if (parsed.kind == Parsed::Section) {
                inside = parsed.name == section;
            } else if (!inside || parsed.kind != Parsed::Value) {
                continue;
            } else if (!key.empty() && parsed.name == key) {
                found.lines.push_back(i);
            }
            if (inside) {
                found.last = i;
            }
        }
        return found;
    }

    std::string_view Text(std::size_t i) const {
        return std::string_view(bytes_).substr(lines_[i].start, lines_[i].size);
    }
    std::string_view End(std::size_t i) const {
        return std::string_view(bytes_).substr(lines_[i].start + lines_[i].size, lines_[i].endSize);
    }
    std::string_view Whole(std::size_t i) const {
        return std::string_view(bytes_).substr(lines_[i].start, lines_[i].size + lines_[i].endSize);
    }
    std::string Start() const {
        std::string out;
        out.reserve(bytes_.size() + 64);
        if (std::string_view(bytes_).starts_with(kByteOrderMark)) {
            out += kByteOrderMark;
        }
        return out;
    }

    std::string bytes_;
    std::vector<Line> lines_;
    std::string eol_ = "\n";
};

enum class Encoding { Utf8, Utf16Le, Utf16Be };

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

// UTF-16 text after its byte-order mark as UTF-8; the reason in Slovak when it is not
// well-formed (an odd number of bytes, a lone surrogate), since such a file could not be
// written back as it was.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian, std::string& text) {
    if (bytes.size() % 2 != 0) {
        return "text v kódovaní UTF-16 má nepárny počet bajtov";
    }
    const auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
    };
    text.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); i += 2) {
        char32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c <= 0xDFFF) {
            return "text v kódovaní UTF-16 obsahuje neúplný znak";
        }
        AppendUtf8(text, c);
    }
    return {};
}

// UTF-8 text as UTF-16 with its byte-order mark; nothing when the text is not well-formed.
std::optional<std::string> Utf8ToUtf16(std::string_view text, bool bigEndian) {
    std::string out(bigEndian ? kUtf16BeMark : kUtf16LeMark);
    out.reserve(2 * text.size() + 2);
    const auto put = [&](char32_t unit) {
        const char high = static_cast<char>(unit >> 8);
        const char low = static_cast<char>(unit & 0xFF);
        out += bigEndian ? high : low;
        out += bigEndian ? low : high;
    };
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        const char32_t c = Utf8Next(text, pos);
        if (c == kReplacement && pos - start != 3) {
            return std::nullopt;
        }
        if (c >= 0x10000) {
            put(0xD800 + ((c - 0x10000) >> 10));
            put(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            put(c);
        }
    }
    return out;
}

bool IsUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        if (Utf8Next(text, pos) == kReplacement && pos - start != 3) {
            return false;
        }
    }
    return true;
}

bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

const std::string kUntouched =
    " Nastavenia sa z neho nenačítali ani sa doň neuložia, súbor ostáva nezmenený.";

// "5 242 960": thousands apart, as Slovak writes numbers.
std::string GroupedDigits(std::uint64_t number) {
    std::string digits = std::to_string(number);
    for (std::size_t i = digits.size(); i > 3; i -= 3) {
        digits.insert(i - 3, " ");
    }
    return digits;
}

std::string TooLargeText(const std::filesystem::path& file, std::uint64_t size) {
    return "Súbor nastavení „" + PathText(file) + "“ je príliš veľký (" + GroupedDigits(size) +
           " bajtov), Tilava číta najviac " + GroupedDigits(FileHive::kLargestSettingsFile) +
           " bajtov a jej nastavenia majú obvykle menej ako kilobajt." + kUntouched;
}

std::string EncodingText(const std::filesystem::path& file, std::string_view reason) {
    return "Súbor nastavení „" + PathText(file) +
           "“ nie je v kódovaní UTF-8 ani UTF-16 so značkou poradia bajtov (" +
           std::string(reason) + ")." + kUntouched;
}

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

void Save(const std::filesystem::path& file, const std::string& bytes, std::string_view name,
          bool deleting) {
    try {
        std::error_code error;
        std::filesystem::create_directories(file.parent_path(), error);
        if (error) {
            throw FileError(file.parent_path(), FolderError(file.parent_path(), error));
        }
        ReplaceFileAtomically(file, bytes);
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
    for (const Line& part : SplitLines(text)) {
        const std::string_view line = Trim(text.substr(part.start, part.size));
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

struct FileHive::Loaded {
    FileStamp stamp; // taken before the file was read
    Encoding encoding = Encoding::Utf8;
    std::optional<IniFile> ini; // the file as UTF-8 text; nothing when it is refused
    bool otherBytes = false;    // it holds bytes that are not UTF-8 (another 8-bit encoding)
    std::string refusal;        // why the file is neither read nor written; empty when it is used
};

FileHive::FileHive(std::filesystem::path configHome) : configHome_(std::move(configHome)) {}

FileHive::~FileHive() = default;

const FileHive::Loaded& FileHive::Current() const {
    const std::filesystem::path file = SettingsFile();
    const FileStamp stamp = StampOf(file);
    if (!loaded_ || !loaded_->stamp.SameVersion(stamp)) {
        auto fresh = std::make_unique<Loaded>();
        fresh->stamp = stamp;
        Load(file, *fresh);
        loaded_ = std::move(fresh);
    }
    return *loaded_;
}

template <class Change>
void FileHive::ChangeSettings(std::string_view name, std::string_view value, bool deleting,
                              Change change) {
    const std::lock_guard lock(mutex_);
    const Loaded& loaded = Current();
    if (!loaded.refusal.empty()) {
        Refuse(name, deleting, loaded.refusal);
    }
    const std::optional<std::string> changed = change(*loaded.ini);
    if (!changed) {
        return;
    }
    std::string bytes;
    if (loaded.otherBytes && !IsAscii(value)) {
        // Its own letters are in an encoding unknown here; UTF-8 ones beside them would mix two.
        Refuse(name, deleting,
               "súbor nastavení nie je v kódovaní UTF-8 a text s inými ako anglickými znakmi by "
               "v ňom zmiešal dve kódovania; súbor ostáva, ako je");
    }
    if (loaded.encoding == Encoding::Utf8) {
        bytes = *changed;
    } else if (auto wide = Utf8ToUtf16(*changed, loaded.encoding == Encoding::Utf16Be)) {
        bytes = std::move(*wide);
    } else {
        Refuse(name, deleting, "hodnota nie je platný text UTF-8");
    }
    if (bytes.size() > kLargestSettingsFile) {
        Refuse(name, deleting,
               "súbor nastavení by bol väčší, ako Tilava dokáže prečítať, a preto ostáva, ako je");
    }
    // What another program writes right after this save must not hide behind the stamp of this
    // one, so the file is looked at afresh at the next call.
    loaded_.reset();
    Save(SettingsFile(), bytes, name, deleting);
}

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
    return BackslashEscaped(quoted);
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
    const std::lock_guard lock(mutex_);
    const Loaded& loaded = Current();
    return loaded.ini && loaded.ini->HasSection(SectionOf(key));
}

std::string FileHive::Refusal() const {
    const std::lock_guard lock(mutex_);
    return Current().refusal;
}

HiveValue FileHive::ReadValue(HiveKey key, std::string_view name) const {
    try {
        if (key == HiveKey::Startup && name == kAutostartValue) {
            const auto bytes = ReadFileIfExists(AutostartFile(), kLargestSettingsFile);
            if (!bytes) {
                return {};
            }
            const DesktopEntry entry = ParseDesktopEntry(*bytes);
            if (entry.disabled || !entry.exec || entry.exec->empty()) {
                return {};
            }
            return {ValueKind::String, "\"" + ProgramFromExec(*entry.exec) + "\""};
        }
        const std::lock_guard lock(mutex_);
        const Loaded& loaded = Current();
        if (!loaded.ini) {
            return {};
        }
        const auto value = loaded.ini->Value(SectionOf(key), name);
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
        // TryExec: once the program is removed (a package cannot remove this file of the user's),
        // the session skips the entry instead of failing to start it at every login.
        const std::string program = Unquote(text);
        const std::string content = "[Desktop Entry]\n"
                                    "Type=Application\n"
                                    "Name=Tilava\n"
                                    "Comment=Menný kalendár s pripomienkami\n"
                                    "Icon=sk.zelm.Tilava\n"
                                    "TryExec=" +
                                    BackslashEscaped(program) +
                                    "\n"
                                    "Exec=" +
                                    ExecFor(program) +
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
    if (text.find('\0') != std::string_view::npos) {
        // A file holding NUL is refused when it is read.
        Refuse(name, false, "hodnota obsahuje znak NUL");
    }
    ChangeSettings(name, text, false,
                   [&](const IniFile& ini) { return ini.With(SectionOf(key), name, text); });
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
    ChangeSettings(name, {}, true,
                   [&](const IniFile& ini) { return ini.Without(SectionOf(key), name); });
}

void FileHive::Load(const std::filesystem::path& file, Loaded& loaded) {
    if (loaded.stamp.known && !loaded.stamp.exists) {
        loaded.ini.emplace(std::string());
        return;
    }
    // A file too large is refused before any of it is read.
    if (loaded.stamp.exists && loaded.stamp.size > kLargestSettingsFile) {
        loaded.refusal = TooLargeText(file, loaded.stamp.size);
        return;
    }
    std::optional<std::string> bytes;
    try {
        bytes = ReadFileIfExists(file, kLargestSettingsFile);
    } catch (const FileTooLarge& error) {
        loaded.refusal = TooLargeText(file, error.size);
        return;
    } catch (const FileError& error) {
        loaded.refusal = std::string(error.what()) + "." + kUntouched;
        return;
    }
    if (!bytes) {
        loaded.ini.emplace(std::string());
        return;
    }
    const std::string_view raw(*bytes);
    std::string text;
    std::string reason;
    if (raw.starts_with("\xFF\xFE\0\0"sv) || raw.starts_with("\0\0\xFE\xFF"sv)) {
        reason = "je v kódovaní UTF-32";
    } else if (raw.starts_with(kUtf16LeMark) || raw.starts_with(kUtf16BeMark)) {
        const bool bigEndian = raw.starts_with(kUtf16BeMark);
        loaded.encoding = bigEndian ? Encoding::Utf16Be : Encoding::Utf16Le;
        reason = Utf16ToUtf8(raw.substr(2), bigEndian, text);
    } else {
        text = std::move(*bytes);
    }
    // A NUL is no part of a text file: most likely UTF-16 without its byte-order mark, whose
    // keys could never be found and which a write would turn into two encodings in one file.
    if (reason.empty() && text.find('\0') != std::string::npos) {
        reason = "obsahuje znaky NUL, asi je v kódovaní UTF-16 bez značky poradia bajtov";
    }
    if (!reason.empty()) {
        loaded.refusal = EncodingText(file, reason);
        return;
    }
    loaded.otherBytes = !IsUtf8(text);
    loaded.ini.emplace(std::move(text));
}

} // namespace tilava
