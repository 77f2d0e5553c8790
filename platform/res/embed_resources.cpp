// Build-time tool: writes a C++ file that holds the files of res/ as byte arrays, with a
// table that finds them by type and by name or id.
//
//   embed_resources <output.cpp> <file>...
//
// The file name says what a file is:
//   <NAME>.bmp           bitmap, by name (IDB_PLOCHA)
//   icon<N>.ico          icon, by id          cursor<N>.cur   cursor, by id
//   menu<N>.*            menu, by id          dialog<N>.*     dialog, by id
//   string<N>.*          string table block   strings.*       string table, by name
//   <name>.rc            resource script (menus, dialogs, strings), by name
//   <name>.bdf           bitmap font face, by name (VIKING-20)
// Anything else is left out.
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct Entry {
    std::string type;
    std::string name;  // empty: by id
    unsigned id = 0;
    std::vector<unsigned char> bytes;
};

std::string Lower(std::string s) {
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

// "icon128" with prefix "icon" gives 128.
bool NumberAfter(const std::string& stem, const std::string& prefix, unsigned& id) {
    if (stem.size() <= prefix.size() || Lower(stem.substr(0, prefix.size())) != prefix) {
        return false;
    }
    const std::string digits = stem.substr(prefix.size());
    if (digits.size() > 5) {
        return false;
    }
    for (char c : digits) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    id = unsigned(std::stoul(digits));
    return id <= 0xFFFF;
}

bool Classify(const std::string& path, Entry& e) {
    const size_t slash = path.find_last_of('/');
    const std::string file = path.substr(slash == std::string::npos ? 0 : slash + 1);
    const size_t dot = file.find_last_of('.');
    if (dot == std::string::npos || dot == 0) {
        return false;
    }
    const std::string stem = file.substr(0, dot);
    const std::string ext = Lower(file.substr(dot + 1));
    const struct {
        const char* prefix;
        const char* type;
    } byId[] = {{"icon", "Icon"},
                {"cursor", "Cursor"},
                {"menu", "Menu"},
                {"dialog", "Dialog"},
                {"string", "String"}};
    for (const auto& k : byId) {
        if (NumberAfter(stem, k.prefix, e.id)) {
            e.type = k.type;
            return true;
        }
    }
    if (ext == "bmp") {
        e.type = "Bitmap";
    } else if (ext == "ico") {
        e.type = "Icon";
    } else if (ext == "cur") {
        e.type = "Cursor";
    } else if (ext == "rc") {
        e.type = "Script";
    } else if (ext == "bdf") {
        e.type = "Font";
    } else if (Lower(stem) == "strings") {
        e.type = "String";
    } else {
        return false;
    }
    e.name = Upper(stem);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: embed_resources <output.cpp> <file>...\n");
        return 2;
    }
    std::vector<Entry> entries;
    for (int i = 2; i < argc; ++i) {
        Entry e;
        if (!Classify(argv[i], e)) {
            continue;
        }
        std::ifstream in(argv[i], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "embed_resources: cannot read %s\n", argv[i]);
            return 1;
        }
        e.bytes.assign(std::istreambuf_iterator<char>(in), {});
        entries.push_back(std::move(e));
    }

    const std::string outPath = argv[1];
    const std::string tmpPath = outPath + ".tmp";
    std::FILE* out = std::fopen(tmpPath.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "embed_resources: cannot write %s\n", tmpPath.c_str());
        return 1;
    }
    std::fprintf(out, "// Generated from res/ at build time.\n");
    std::fprintf(out, "#include \"platform/res/resource_table.h\"\n\nnamespace platform {\n");
    std::fprintf(out, "namespace {\n");
    for (size_t i = 0; i < entries.size(); ++i) {
        std::fprintf(out, "alignas(4) const uint8_t r%zu[] = {", i);
        const auto& b = entries[i].bytes;
        for (size_t j = 0; j < b.size(); ++j) {
            std::fprintf(out, "%s%u,", j % 24 == 0 ? "\n" : "", unsigned(b[j]));
        }
        if (b.empty()) {
            std::fprintf(out, "0");
        }
        std::fprintf(out, "};\n");
    }
    std::fprintf(out, "}  // namespace\n\nconst EmbeddedResource EMBEDDED_RESOURCES[] = {\n");
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        std::fprintf(out, "    {ResourceType::%s, %s%s%s, %uu, r%zu, %zu},\n", e.type.c_str(),
                     e.name.empty() ? "" : "\"", e.name.empty() ? "nullptr" : e.name.c_str(),
                     e.name.empty() ? "" : "\"", e.id, i, e.bytes.size());
    }
    if (entries.empty()) {
        std::fprintf(out, "    {ResourceType::Bitmap, nullptr, 0u, nullptr, 0},\n");
    }
    std::fprintf(out,
                 "};\nconst size_t EMBEDDED_RESOURCE_COUNT = %zu;\n\n}  // namespace platform\n",
                 entries.size());
    if (std::fclose(out) != 0 || std::rename(tmpPath.c_str(), outPath.c_str()) != 0) {
        std::fprintf(stderr, "embed_resources: cannot write %s\n", outPath.c_str());
        return 1;
    }
    return 0;
}
