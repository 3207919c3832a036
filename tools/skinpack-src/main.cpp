// skinpack: packs a skin folder into a container, lists a container's entries
// or unpacks them. Every container it writes is read back before it is kept.
#include "SkinPacker.h"
#include "skin/portable/SkinContainer.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iostream>

namespace fs = std::filesystem;

namespace {

int Usage()
{
    std::cerr << "usage: skinpack pack DIR OUT | list FILE | unpack FILE DIR\n";
    return 2;
}

void WriteAll(const fs::path& path, std::span<const uint8_t> bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw EPackError("cannot write " + path.string());
}

void Load(TSkinReader& reader, const fs::path& file)
{
    const std::vector<uint8_t> bytes = ReadFileBytes(file);
    if (!reader.ReadSkin(bytes)) {
        std::string why = SkinReadResultText(reader.LastResult());
        if (reader.LastResult() == TSkinReadResult::srOlderVersion)
            why += " (found " + std::to_string(reader.Version()) + ")";
        throw EPackError(file.string() + " is not a loadable skin container: " + why);
    }
}

// An entry name that is a plain file name in every file system we meet.
bool SafeFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..") return false;
    for (const unsigned char c : name)
        if (c < 0x20 || c == '/' || c == '\\' || c == ':') return false;
    return true;
}

int Pack(const fs::path& dir, const fs::path& out)
{
    std::vector<std::string> skipped;
    const std::vector<TSkinEntry> entries = CollectSkinFolder(dir, skipped);
    for (const std::string& name : skipped) std::cerr << "skinpack: not named by the ini text, left out: " << name << "\n";
    const std::vector<uint8_t> container = PackSkin(entries);

    TSkinReader check;
    if (!check.ReadSkin(container) || check.Count() != static_cast<int>(entries.size()))
        throw EPackError("internal error: the packed container does not read back");
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto entry = check.Entry(static_cast<int>(i));
        if (!std::equal(entry.begin(), entry.end(), entries[i].Bytes.begin(), entries[i].Bytes.end()))
            throw EPackError("internal error: entry " + entries[i].Name + " does not read back");
    }
    WriteAll(out, container);
    std::cout << "packed " << entries.size() << " entries into " << out.string() << " (" << container.size()
              << " bytes)\n";
    return 0;
}

int List(const fs::path& file)
{
    TSkinReader reader;
    Load(reader, file);
    for (int i = 0; i < reader.Count(); ++i) std::cout << reader.Sizes(i) << "\t" << reader.Names(i) << "\n";
    return 0;
}

int Unpack(const fs::path& file, const fs::path& dir)
{
    TSkinReader reader;
    Load(reader, file);
    for (int i = 0; i < reader.Count(); ++i)
        if (!reader.Names(i).empty() && !SafeFileName(reader.Names(i)))
            throw EPackError("entry " + std::to_string(i + 1) + " has a name that is not a file name: \"" +
                             reader.Names(i) + "\"");
    fs::create_directories(dir);
    int written = 0;
    for (int i = 0; i < reader.Count(); ++i) {
        // A blank line of the name table: an entry no ini value can name.
        if (reader.Names(i).empty()) {
            std::cerr << "skinpack: entry " << i + 1 << " has an empty name; it is not unpacked\n";
            continue;
        }
        bool duplicate = false;
        for (int j = 0; j < i; ++j) duplicate = duplicate || reader.Names(j) == reader.Names(i);
        if (duplicate) {
            std::cerr << "skinpack: entry " << i + 1 << " repeats the name " << reader.Names(i)
                      << "; only the first is unpacked (the one the program uses)\n";
            continue;
        }
        WriteAll(dir / reader.Names(i), reader.Entry(i));
        ++written;
    }
    std::cout << "unpacked " << written << " entries into " << dir.string() << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4 && argc != 3) return Usage();
    const std::string command = argv[1];
    try {
        if (command == "pack" && argc == 4) return Pack(argv[2], argv[3]);
        if (command == "list" && argc == 3) return List(argv[2]);
        if (command == "unpack" && argc == 4) return Unpack(argv[2], argv[3]);
        return Usage();
    } catch (const std::exception& e) {
        std::cerr << "skinpack: " << e.what() << "\n";
        return 1;
    }
}
