#include "support/Zip.h"

#include <zip.h>

#include <memory>
#include <stdexcept>

namespace {

struct Discard {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};

}  // namespace

ZipEntries ReadZip(const std::string& path) {
    int code = 0;
    std::unique_ptr<zip_t, Discard> archive(zip_open(path.c_str(), ZIP_RDONLY, &code));
    if (!archive) throw std::runtime_error(path + ": not a zip file");
    ZipEntries entries;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive.get(), static_cast<zip_uint64_t>(i), 0, &stat) != 0) {
            throw std::runtime_error(path + ": an entry cannot be read");
        }
        std::string bytes(static_cast<std::size_t>(stat.size), '\0');
        zip_file_t* file = zip_fopen_index(archive.get(), static_cast<zip_uint64_t>(i), 0);
        const zip_int64_t got = file ? zip_fread(file, bytes.data(), stat.size) : -1;
        if (file) zip_fclose(file);
        if (got != static_cast<zip_int64_t>(stat.size)) {
            throw std::runtime_error(path + ": " + stat.name + " cannot be read");
        }
        entries.emplace_back(stat.name, std::move(bytes));
    }
    return entries;
}

void WriteZip(const std::string& path, const ZipEntries& entries) {
    int code = 0;
    std::unique_ptr<zip_t, Discard> archive(
        zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!archive) throw std::runtime_error(path + ": cannot be written");
    for (const auto& [name, bytes] : entries) {
        zip_source_t* source = zip_source_buffer(archive.get(), bytes.data(), bytes.size(), 0);
        if (!source || zip_file_add(archive.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8) < 0) {
            if (source) zip_source_free(source);
            throw std::runtime_error(path + ": " + name + " cannot be added");
        }
    }
    if (zip_close(archive.get()) != 0) throw std::runtime_error(path + ": cannot be written");
    (void)archive.release();
}

const std::string* FindEntry(const ZipEntries& entries, const std::string& name) {
    for (const auto& [entry, bytes] : entries) {
        if (entry == name) return &bytes;
    }
    return nullptr;
}

void PutEntry(ZipEntries& entries, const std::string& name, std::string bytes) {
    for (auto& [entry, held] : entries) {
        if (entry == name) {
            held = std::move(bytes);
            return;
        }
    }
    entries.emplace_back(name, std::move(bytes));
}
