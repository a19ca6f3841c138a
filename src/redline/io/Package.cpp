#include "redline/io/Package.h"

#include <zip.h>

#include <pugixml.hpp>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

#include "redline/FilePath.h"
#include "redline/io/StrictForm.h"
#include "redline/io/XmlText.h"

namespace redline {

namespace {

struct CloseArchive {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, CloseArchive>;

struct CloseEntry {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

std::string ZipProblem(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// Reads one entry, never more than it declares: a bomb that lies about its size is cut off at
// the size it gave, and then refused because its checksum fails.
std::string ReadEntry(zip_t* archive, zip_uint64_t index, const zip_stat_t& stat) {
    std::unique_ptr<zip_file_t, CloseEntry> file(zip_fopen_index(archive, index, 0));
    if (!file) {
        throw BadDocument(std::string("the part ") + stat.name +
                          " cannot be opened: " + zip_strerror(archive));
    }
    std::string bytes(static_cast<std::size_t>(stat.size), '\0');
    zip_uint64_t done = 0;
    while (done < stat.size) {
        const zip_int64_t got = zip_fread(file.get(), bytes.data() + done, stat.size - done);
        if (got <= 0) {
            throw BadDocument(std::string("the part ") + stat.name +
                              " is damaged: " + zip_file_strerror(file.get()));
        }
        done += static_cast<zip_uint64_t>(got);
    }
    char extra;
    const zip_int64_t more = zip_fread(file.get(), &extra, 1);  // at its end: the checksum
    if (more != 0) {
        throw BadDocument(std::string("the part ") + stat.name +
                          (more > 0 ? " is larger than it says." : " is damaged."));
    }
    return bytes;
}

// Hands libzip a part's compressed bytes with their sizes, CRC and method: as the entry is to be
// compressed the same way, they are copied into the zip file as they are.
struct DeflatedSource {
    explicit DeflatedSource(const Deflated& of) : part(&of) { zip_error_init(&error); }
    ~DeflatedSource() { zip_error_fini(&error); }

    const Deflated* part;
    std::size_t at = 0;
    zip_error_t error;  // never set: handing over bytes in memory cannot fail

    static zip_int64_t Serve(void* self, void* data, zip_uint64_t length,
                             zip_source_cmd_t command) {
        auto& source = *static_cast<DeflatedSource*>(self);
        const std::string& bytes = source.part->bytes;
        switch (command) {
            case ZIP_SOURCE_OPEN:
                source.at = 0;
                return 0;
            case ZIP_SOURCE_READ: {
                const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(length),
                                                                bytes.size() - source.at);
                std::memcpy(data, bytes.data() + source.at, count);
                source.at += count;
                return static_cast<zip_int64_t>(count);
            }
            case ZIP_SOURCE_CLOSE:
            case ZIP_SOURCE_FREE:
                return 0;
            case ZIP_SOURCE_STAT: {
                auto* stat = static_cast<zip_stat_t*>(data);
                zip_stat_init(stat);
                stat->valid |=
                    ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_CRC | ZIP_STAT_COMP_METHOD;
                stat->size = source.part->size;
                stat->comp_size = bytes.size();
                stat->crc = source.part->crc;
                stat->comp_method = ZIP_CM_DEFLATE;
                return sizeof(zip_stat_t);
            }
            case ZIP_SOURCE_ERROR:
                return zip_error_to_data(&source.error, data, length);
            case ZIP_SOURCE_SUPPORTS:
                return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ,
                                                      ZIP_SOURCE_CLOSE, ZIP_SOURCE_STAT,
                                                      ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE, -1);
            default:
                return -1;
        }
    }
};

}  // namespace

bool Package::LooksLikeZip(const std::string& path) {
    std::ifstream in(FilePath(path), std::ios::binary);
    char head[4] = {};
    in.read(head, 4);
    return in && std::string(head, 4) == std::string("PK\x03\x04", 4);
}

bool Package::IsWordPackage(const std::string& path) {
    if (!LooksLikeZip(path)) return false;
    int code = 0;
    Archive archive(zip_open(ZipPath(path).c_str(), ZIP_RDONLY, &code));
    if (!archive) return false;
    const zip_int64_t index = zip_name_locate(archive.get(), "[Content_Types].xml", 0);
    zip_stat_t stat;
    if (index < 0 ||
        zip_stat_index(archive.get(), static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE) || stat.size > (1u << 20)) {
        return false;
    }
    try {
        const std::string types = ReadEntry(archive.get(), static_cast<zip_uint64_t>(index), stat);
        return types.find("wordprocessingml.document.main+xml") != std::string::npos ||
               types.find("wordprocessingml.template.main+xml") != std::string::npos ||
               types.find("ms-word.document.macroEnabled.main+xml") != std::string::npos ||
               types.find("ms-word.template.macroEnabledTemplate.main+xml") != std::string::npos;
    } catch (const BadDocument&) {
        return false;
    }
}

Package Package::Read(const std::string& path, const PackageLimits& limits) {
    int code = 0;
    // No consistency check of local headers against the central directory: word processors
    // open packages whose two records differ in a file's time, and every entry's size and
    // checksum are checked as it is read.
    Archive archive(zip_open(ZipPath(path).c_str(), ZIP_RDONLY, &code));
    if (!archive) throw BadDocument("not a readable zip file: " + ZipProblem(code));
    Package package = ReadArchive(archive.get(), limits);
    package.source_ = std::shared_ptr<zip_t>(archive.release(), zip_discard);
    return package;
}

Package Package::FromBytes(const std::string& bytes, const PackageLimits& limits) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    Archive archive(source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr);
    if (!archive) {
        const std::string problem = zip_error_strerror(&error);
        if (source) zip_source_free(source);
        zip_error_fini(&error);
        throw BadDocument("not a readable zip file: " + problem);
    }
    zip_error_fini(&error);
    // Every part is read into the package: nothing refers to `bytes` once it is made.
    Package package = ReadArchive(archive.get(), limits);
    package.unchanged_.clear();
    return package;
}

Package Package::ReadArchive(zip_t* archive, const PackageLimits& limits) {
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    if (count < 0 || static_cast<zip_uint64_t>(count) > limits.entries) {
        throw BadDocument("the zip file holds " + std::to_string(count) + " entries.");
    }
    Package package;
    std::uint64_t total = 0;
    for (zip_int64_t i = 0; i < count; ++i) {
        zip_stat_t stat;
        if (zip_stat_index(archive, i, 0, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE) ||
            !(stat.valid & ZIP_STAT_NAME) || !(stat.valid & ZIP_STAT_COMP_SIZE)) {
            throw BadDocument("an entry of the zip file cannot be read.");
        }
        const std::string name = stat.name;
        if (name.empty() || name.back() == '/') continue;  // a folder
        if (stat.encryption_method != ZIP_EM_NONE)
            throw BadDocument("the part " + name + " is encrypted.");
        total += stat.size;
        if (stat.size > limits.entryBytes) {
            throw BadDocument(
                "the part " + name + " inflates to " + std::to_string(stat.size >> 20) + " MB.",
                limits.entryBytes >> 20);
        }
        if (total > limits.totalBytes) {
            throw BadDocument("the parts inflate to more than " +
                                  std::to_string(limits.totalBytes >> 20) + " MB.",
                              limits.totalBytes >> 20);
        }
        package.put(name, ReadEntry(archive, static_cast<zip_uint64_t>(i), stat));
        package.unchanged_[name] = static_cast<std::uint64_t>(i);
    }
    package.readXml();
    return package;
}

void Package::readXml() {
    // The main part is parsed whole by every comparison, which refuses broken markup itself.
    std::string main;
    pugi::xml_document relationships;
    if (has("_rels/.rels") && relationships.load_string(part("_rels/.rels").c_str())) {
        for (const pugi::xml_node& relationship : relationships.document_element().children()) {
            const std::string_view type = relationship.attribute("Type").value();
            if (type.ends_with("/officeDocument")) main = relationship.attribute("Target").value();
        }
    }
    if (main.starts_with('/')) main.erase(0, 1);
    for (const std::string& name : order_) {
        if (!name.ends_with(".xml") && !name.ends_with(".rels") && !name.ends_with(".vml"))
            continue;
        std::string& bytes = parts_.at(name);
        CheckXmlPart(name, bytes, name != main);
        // A part in the Strict form is read, and written into the result, in the usual form.
        if (NamesStrictForm(bytes)) {
            bytes = InUsualForm(name, bytes);
            unchanged_.erase(name);
        }
    }
}

const std::string& Package::part(const std::string& name) const {
    const auto found = parts_.find(name);
    if (found == parts_.end()) throw BadDocument("the part " + name + " is missing.");
    return found->second;
}

void Package::release(const std::string& name) {
    const auto found = parts_.find(name);
    if (found == parts_.end()) return;
    std::string().swap(found->second);
    deflated_.erase(name);
    unchanged_.erase(name);  // its stored form is no longer what it holds
}

void Package::put(const std::string& name, std::string bytes) {
    auto [at, added] = parts_.insert_or_assign(name, std::move(bytes));
    (void)at;
    if (added) order_.push_back(name);
    unchanged_.erase(name);
    deflated_.erase(name);
}

void Package::putDeflated(const std::string& name, Deflated part) {
    put(name, {});
    deflated_[name] = std::move(part);
}

void Package::write(const std::string& path) const {
    try {
        writeOnce(path, true);
    } catch (const UnwritableResult&) {
        // A stored entry is copied as its central record sizes it, which a damaged package may
        // overstate although its part inflated soundly: written again from what was read.
        if (!source_ || unchanged_.empty()) throw;
        writeOnce(path, false);
    }
}

void Package::writeOnce(const std::string& path, bool copyStored) const {
    // Outlive the archive, whose sources read them until it is closed or discarded.
    std::vector<std::unique_ptr<DeflatedSource>> deflatedSources;
    int code = 0;
    Archive archive(zip_open(ZipPath(path).c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code));
    if (!archive) throw UnwritableResult(path + " cannot be written: " + ZipProblem(code));
    std::vector<std::string> order;
    if (has("[Content_Types].xml")) order.push_back("[Content_Types].xml");
    for (const std::string& name : order_) {
        if (name != "[Content_Types].xml") order.push_back(name);
    }
    for (const std::string& name : order) {
        const auto unchanged = unchanged_.find(name);
        const auto deflated = deflated_.find(name);
        const bool copied = copyStored && source_ && unchanged != unchanged_.end();
        // A part nobody replaced is copied as it is stored, as is one compressed already; the
        // others come from their buffers. All live in the package until the archive is closed.
        const std::string& bytes = parts_.at(name);
        zip_source_t* source = nullptr;
        if (copied) {
            source = zip_source_zip(archive.get(), source_.get(), unchanged->second, 0, 0, -1);
        } else if (deflated != deflated_.end()) {
            deflatedSources.push_back(std::make_unique<DeflatedSource>(deflated->second));
            source = zip_source_function(archive.get(), DeflatedSource::Serve,
                                         deflatedSources.back().get());
        } else {
            source = zip_source_buffer(archive.get(), bytes.data(), bytes.size(), 0);
        }
        const zip_int64_t index =
            source ? zip_file_add(archive.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8) : -1;
        if (index < 0) {
            if (source) zip_source_free(source);
            throw UnwritableResult(path + " cannot be written: " + zip_strerror(archive.get()));
        }
        if (copied) continue;
        // Pictures are compressed already; text parts at kTextLevel.
        const bool text =
            deflated != deflated_.end() || name.ends_with(".xml") || name.ends_with(".rels");
        zip_set_file_compression(archive.get(), static_cast<zip_uint64_t>(index),
                                 text ? ZIP_CM_DEFLATE : ZIP_CM_STORE, text ? kTextLevel : 0);
    }
    if (zip_close(archive.get()) != 0) {
        throw UnwritableResult(path + " cannot be written: " + zip_strerror(archive.get()));
    }
    (void)archive.release();  // closed, and so freed, by zip_close
}

}  // namespace redline
