// Container layout, compression and skin-folder collection for the packer.
#include "SkinPacker.h"

#include "LzhEncoder.h"
#include "skin/portable/SkinContainer.h"
#include "skin/portable/SkinText.h"

#include <fstream>
#include <iterator>
#include <map>

namespace {

void PutInt32(std::vector<uint8_t>& out, int64_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

} // namespace

std::vector<uint8_t> ReadFileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw EPackError("cannot read " + path.string());
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<uint8_t> BuildUnpacked(const std::vector<TSkinEntry>& Entries, int32_t Version)
{
    if (Entries.size() > static_cast<size_t>(TSkinReader::kMaxEntries))
        throw EPackError("more than 1001 entries");
    std::string table;
    int64_t total = 0;
    for (const TSkinEntry& e : Entries) {
        if (e.Name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
            throw EPackError("entry name holds a line break or NUL: " + e.Name);
        table += e.Name + "\r\n";
        total += static_cast<int64_t>(e.Bytes.size());
    }
    total += static_cast<int64_t>(TSkinReader::kHeaderSize + table.size() + 4 * Entries.size());
    if (total > INT32_MAX) throw EPackError("container larger than 2 GiB");

    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(total));
    PutInt32(out, Version);
    PutInt32(out, static_cast<int64_t>(table.size()));
    out.insert(out.end(), 8, 0);
    out.insert(out.end(), table.begin(), table.end());
    for (const TSkinEntry& e : Entries) PutInt32(out, static_cast<int64_t>(e.Bytes.size()));
    for (const TSkinEntry& e : Entries) out.insert(out.end(), e.Bytes.begin(), e.Bytes.end());
    return out;
}

std::vector<uint8_t> CompressContainer(std::span<const uint8_t> Unpacked)
{
    if (Unpacked.size() > static_cast<size_t>(INT32_MAX)) throw EPackError("data larger than 2 GiB");
    std::vector<uint8_t> out;
    PutInt32(out, static_cast<int64_t>(Unpacked.size()));
    TLzhEncoder encoder;
    const std::vector<uint8_t> stream = encoder.Encode(Unpacked);
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

std::vector<uint8_t> PackSkin(const std::vector<TSkinEntry>& Entries)
{
    return CompressContainer(BuildUnpacked(Entries));
}

std::vector<std::string> BitmapNamesOf(std::string_view IniText)
{
    std::vector<std::string> names;
    TTextLines lines(IniText);
    for (std::string_view raw; lines.Next(raw);) {
        const std::string_view line = TrimControl(raw);
        const size_t eq = line.find('=');
        if (line.empty() || line.front() == ';' || eq == std::string_view::npos) continue;
        std::string_view value = TrimControl(line.substr(eq + 1));
        const size_t sep = value.find_last_of("\\/:");
        if (sep != std::string_view::npos) value = value.substr(sep + 1);
        if (value.size() <= 4) continue;
        const std::string_view extension = value.substr(value.size() - 4);
        // The program's loader takes only ".bmp" exactly; packing another
        // spelling would give a skin whose strip comes out empty.
        if (extension != ".bmp" && LowerCaseAZ(extension) == ".bmp")
            throw EPackError("the ini text names " + std::string(value) +
                             ": a bitmap name must end in lower-case \".bmp\" or the program will not load it");
        if (extension != ".bmp") continue;
        const std::string name(value);
        bool seen = false;
        for (const std::string& n : names) seen = seen || LowerCaseAZ(n) == LowerCaseAZ(name);
        if (!seen) names.push_back(name);
    }
    return names;
}

std::vector<TSkinEntry> CollectSkinFolder(const std::filesystem::path& Dir, std::vector<std::string>& Skipped)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(Dir, ec)) throw EPackError(Dir.string() + " is not a folder");
    std::map<std::string, fs::path> files; // lower-cased name -> file
    std::vector<fs::path> inis;
    for (const auto& item : fs::directory_iterator(Dir)) {
        if (!item.is_regular_file()) continue;
        const std::string name = item.path().filename().string();
        const std::string lower = LowerCaseAZ(name);
        if (!files.emplace(lower, item.path()).second)
            throw EPackError("two files differ only in case: " + name);
        if (lower.size() > 4 && lower.ends_with(".ini")) inis.push_back(item.path());
    }
    if (inis.size() != 1)
        throw EPackError(Dir.string() + " must hold exactly one .ini file (found " + std::to_string(inis.size()) + ")");

    std::vector<TSkinEntry> entries;
    entries.push_back({inis[0].filename().string(), ReadFileBytes(inis[0])});
    const std::string_view text(reinterpret_cast<const char*>(entries[0].Bytes.data()), entries[0].Bytes.size());
    std::map<std::string, bool> used{{LowerCaseAZ(entries[0].Name), true}};
    for (const std::string& name : BitmapNamesOf(text)) {
        const auto it = files.find(LowerCaseAZ(name));
        if (it == files.end()) throw EPackError("the ini text names " + name + ", which is not in " + Dir.string());
        entries.push_back({it->second.filename().string(), ReadFileBytes(it->second)});
        used[it->first] = true;
    }
    for (const auto& [lower, path] : files)
        if (!used.count(lower)) Skipped.push_back(path.filename().string());
    return entries;
}
