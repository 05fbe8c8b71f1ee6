#include "startup/LibraryDependencies.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cstring>
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <optional>
#include <sched.h>
#include <unistd.h>
#include <vector>

namespace LibraryDependencies {

namespace {

using Header = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);
using Dynamic = ElfW(Dyn);

constexpr unsigned char kNativeClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr quint64 kLargestDynamicSection = 1 << 20;

// What the dynamic section of a shared library says about the libraries it needs.
struct DynamicInfo {
    ElfW(Half) machine = 0;
    QList<QByteArray> needed;
    QByteArray runPath; // DT_RUNPATH
    QByteArray rPath;   // DT_RPATH, which only counts without a DT_RUNPATH
};

// Reads parts of a file in place; every read past its end fails.
class ElfFile {
public:
    explicit ElfFile(const QString& path)
        : m_descriptor(::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC))
    {
    }
    ~ElfFile()
    {
        if (m_descriptor >= 0)
            ::close(m_descriptor);
    }
    ElfFile(const ElfFile&) = delete;
    ElfFile& operator=(const ElfFile&) = delete;

    template <typename T> bool read(quint64 offset, T* items, quint64 count = 1) const
    {
        const quint64 bytes = count * sizeof(T);
        return m_descriptor >= 0 &&
               ::pread(m_descriptor, items, bytes, off_t(offset)) == ssize_t(bytes);
    }

    // The zero-ended string at `offset` of the table [table, table + size).
    QByteArray string(quint64 table, quint64 size, quint64 offset) const
    {
        QByteArray text;
        char chunk[256];
        while (offset < size && text.size() < 4096) {
            const quint64 want = std::min<quint64>(sizeof chunk, size - offset);
            const ssize_t got = ::pread(m_descriptor, chunk, want, off_t(table + offset));
            if (got <= 0)
                return {};
            const auto* end = static_cast<const char*>(std::memchr(chunk, 0, size_t(got)));
            if (end)
                return text.append(chunk, end - chunk);
            text.append(chunk, got);
            offset += quint64(got);
        }
        return {};
    }

private:
    int m_descriptor;
};

std::optional<DynamicInfo> readDynamic(const QString& path)
{
    const ElfFile file(path);
    Header header;
    if (!file.read(0, &header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != kNativeClass || header.e_type != ET_DYN ||
        header.e_phentsize != sizeof(ProgramHeader))
        return std::nullopt;
    std::vector<ProgramHeader> segments(header.e_phnum);
    if (!file.read(header.e_phoff, segments.data(), segments.size()))
        return std::nullopt;

    const auto dynamicSegment = std::find_if(segments.begin(), segments.end(),
                                             [](const auto& s) { return s.p_type == PT_DYNAMIC; });
    if (dynamicSegment == segments.end())
        return std::nullopt;
    // The dynamic section names its string table by address; the loadable segments map it back.
    const auto fileOffset = [&](ElfW(Addr) address) -> std::optional<quint64> {
        for (const ProgramHeader& s : segments) {
            if (s.p_type == PT_LOAD && address >= s.p_vaddr && address - s.p_vaddr < s.p_filesz)
                return address - s.p_vaddr + s.p_offset;
        }
        return std::nullopt;
    };

    // A real dynamic section holds some dozens of entries; a damaged file may claim any size.
    if (dynamicSegment->p_filesz > kLargestDynamicSection)
        return std::nullopt;
    std::vector<Dynamic> entries(dynamicSegment->p_filesz / sizeof(Dynamic));
    if (!file.read(dynamicSegment->p_offset, entries.data(), entries.size()))
        return std::nullopt;
    QList<quint64> needed;
    std::optional<quint64> runPath;
    std::optional<quint64> rPath;
    ElfW(Addr) tableAddress = 0;
    quint64 tableSize = 0;
    for (const Dynamic& entry : entries) {
        if (entry.d_tag == DT_NULL)
            break;
        switch (entry.d_tag) {
        case DT_NEEDED:
            needed << entry.d_un.d_val;
            break;
        case DT_RUNPATH:
            runPath = entry.d_un.d_val;
            break;
        case DT_RPATH:
            rPath = entry.d_un.d_val;
            break;
        case DT_STRTAB:
            tableAddress = entry.d_un.d_ptr;
            break;
        case DT_STRSZ:
            tableSize = entry.d_un.d_val;
            break;
        default:
            break;
        }
    }
    const std::optional<quint64> table = fileOffset(tableAddress);
    if (!table)
        return std::nullopt;

    DynamicInfo info;
    info.machine = header.e_machine;
    for (quint64 offset : needed) {
        const QByteArray name = file.string(*table, tableSize, offset);
        if (!name.isEmpty())
            info.needed << name;
    }
    if (runPath)
        info.runPath = file.string(*table, tableSize, *runPath);
    if (rPath)
        info.rPath = file.string(*table, tableSize, *rPath);
    return info;
}

// A search path's folders, with $ORIGIN made the needing library's folder.
QStringList folders(const QByteArray& searchPath, const QString& origin)
{
    QStringList result;
    for (const QByteArray& entry : searchPath.split(':')) {
        QString folder = QFile::decodeName(entry);
        folder.replace(QStringLiteral("${ORIGIN}"), origin);
        folder.replace(QStringLiteral("$ORIGIN"), origin);
        // $LIB and $PLATFORM are the loader's own to expand.
        if (!folder.isEmpty() && !folder.contains(QLatin1Char('$')))
            result << folder;
    }
    return result;
}

// The system's library folders: the C library's own (with its multiarch name, where it has one)
// and the usual ones.
QStringList systemFolders()
{
    QStringList result;
    Dl_info info;
    if (dladdr(reinterpret_cast<void*>(&sched_yield), &info) && info.dli_fname) {
        const QString libc = QFileInfo(QFile::decodeName(info.dli_fname)).absolutePath();
        result << libc;
        if (libc.startsWith(QStringLiteral("/usr/")))
            result << libc.mid(4);
        else
            result << QStringLiteral("/usr") + libc;
    }
    result << QStringLiteral("/lib64") << QStringLiteral("/usr/lib64") << QStringLiteral("/lib")
           << QStringLiteral("/usr/lib");
    result.removeDuplicates();
    return result;
}

struct Search {
    ElfW(Half) machine = 0;
    QStringList environmentFolders; // LD_LIBRARY_PATH
    QStringList systemFolders;
    QSet<QByteArray> seen; // also the libraries already loaded, with all they need
    QStringList order;
};

// The file names of the libraries this process has loaded.
QSet<QByteArray> loadedLibraries()
{
    QSet<QByteArray> names;
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void* data) {
            const char* path = info->dlpi_name;
            if (path && *path) {
                const char* slash = std::strrchr(path, '/');
                static_cast<QSet<QByteArray>*>(data)->insert(slash ? slash + 1 : path);
            }
            return 0;
        },
        &names);
    return names;
}

struct Found {
    QString path;
    QString loadName;
    DynamicInfo info;
};

// The first library of that name for this machine, in the order the dynamic loader searches.
std::optional<Found> find(const QByteArray& name, const DynamicInfo& needer, const QString& origin,
                          const Search& search)
{
    const QString fileName = QFile::decodeName(name);
    const auto candidate = [&](const QString& path,
                               const QString& loadName) -> std::optional<Found> {
        std::optional<DynamicInfo> info = readDynamic(path);
        if (!info || info->machine != search.machine)
            return std::nullopt;
        return Found{path, loadName, std::move(*info)};
    };
    if (fileName.contains(QLatin1Char('/')))
        return candidate(fileName, fileName);
    // Found through the needing library's own path, it is loaded by path: the loader, asked for
    // the name alone, would search the path of the code that asks.
    const auto byPath = [&](const QStringList& list) -> std::optional<Found> {
        for (const QString& folder : list) {
            if (auto found = candidate(folder + QLatin1Char('/') + fileName,
                                       folder + QLatin1Char('/') + fileName))
                return found;
        }
        return std::nullopt;
    };
    const auto byName = [&](const QStringList& list) -> std::optional<Found> {
        for (const QString& folder : list) {
            if (auto found = candidate(folder + QLatin1Char('/') + fileName, fileName))
                return found;
        }
        return std::nullopt;
    };
    if (needer.runPath.isEmpty()) {
        if (auto found = byPath(folders(needer.rPath, origin)))
            return found;
    }
    if (auto found = byName(search.environmentFolders))
        return found;
    if (auto found = byPath(folders(needer.runPath, origin)))
        return found;
    return byName(search.systemFolders);
}

void visit(const DynamicInfo& library, const QString& path, Search& search)
{
    const QString origin = QFileInfo(path).absolutePath();
    for (const QByteArray& name : library.needed) {
        if (search.seen.contains(name))
            continue;
        search.seen.insert(name);
        const std::optional<Found> found = find(name, library, origin, search);
        if (!found)
            continue;
        visit(found->info, found->path, search);
        search.order << found->loadName;
    }
}

} // namespace

QStringList loadOrder(const QString& path)
{
    const std::optional<DynamicInfo> root = readDynamic(path);
    if (!root)
        return {};
    Search search;
    search.machine = root->machine;
    search.environmentFolders = folders(qgetenv("LD_LIBRARY_PATH"), QString());
    search.systemFolders = systemFolders();
    search.seen = loadedLibraries();
    visit(*root, path, search);
    return search.order;
}

void loadEach(const QStringList& names, const std::function<void()>& between)
{
    for (const QString& name : names) {
        // RTLD_NOW: a library that lacks a symbol on its own (some do, counting on a library
        // loaded beside them) fails here, not when first called. The handles are never closed:
        // the library that needs them keeps them loaded anyway.
        if (!dlopen(QFile::encodeName(name).constData(), RTLD_NOW | RTLD_LOCAL))
            dlerror();
        sched_yield();
        if (between)
            between();
    }
}

} // namespace LibraryDependencies
