#include "office/WordApplication.h"

#include "automation/Error.h"
#include "automation/WordEnumerations.h"

namespace office {

using automation::Error;
using automation::NamedArgument;
using automation::Object;
using automation::sameName;
using automation::Variant;

namespace {

Error Unsupported(const std::string& member) {
    return Error("The word processor does not support the member \"" + member + "\".");
}

void ExpectNoArguments(const std::string& member, const std::vector<Variant>& positional,
                       const std::vector<NamedArgument>& named) {
    if (!positional.empty() || !named.empty()) {
        throw Error("\"" + member + "\" takes no arguments.");
    }
}

// What the application and the objects it handed out share: its office, which may still be
// starting, and what was done with it.
struct Instance {
    std::shared_ptr<StartingSession> start;
    std::weak_ptr<WarmOffice> warm;
    bool gaveDocument = false;

    // The last reference gone: the office quits, or runs on for the user, in the background.
    ~Instance() {
        if (auto pool = warm.lock(); pool && start) pool->retire(std::move(start));
    }

    WriterSession& session() {
        if (!start)
            throw Error("The word processor is no longer running. Start the comparison again.");
        return start->session();
    }
};
using InstanceRef = std::shared_ptr<Instance>;

// Base for objects that are only ever called: every property access is refused.
class MethodsOnly : public automation::Dispatch {
  public:
    Variant get(const std::string& name) override { throw Unsupported(name); }
    void put(const std::string& name, const Variant&) override { throw Unsupported(name); }
    Variant defaultValue() override { throw Error("The object has no default value."); }
};

class WordDocument : public MethodsOnly {
  public:
    WordDocument(InstanceRef instance, WriterSession::DocumentRef document)
        : instance_(std::move(instance)), document_(std::move(document)) {}

    Variant call(const std::string& name, const std::vector<Variant>& positional,
                 const std::vector<NamedArgument>& named) override {
        if (sameName(name, "Close")) {
            ExpectNoArguments(name, positional, named);
            instance_->session().close(document_);
            return {};
        }
        if (sameName(name, "Merge")) return merge(positional, named);
        throw Unsupported(name);
    }

  private:
    Variant merge(const std::vector<Variant>& positional, const std::vector<NamedArgument>& named) {
        std::string revised;
        bool haveFile = false;
        bool formatting = true;  // Word's own default
        if (!positional.empty()) {
            revised = positional.front().toText();
            haveFile = true;
        }
        for (const NamedArgument& argument : named) {
            if (sameName(argument.name, "FileName")) {
                revised = argument.value.toText();
                haveFile = true;
            } else if (sameName(argument.name, "MergeTarget")) {
                if (argument.value.toInt32() != wd::kMergeTargetNew) {
                    throw Error(
                        "Merge can only put its result into a new document (MergeTarget 2).");
                }
            } else if (sameName(argument.name, "DetectFormatChanges")) {
                formatting = argument.value.type() == Variant::Type::Boolean
                                 ? argument.value.toBool()
                                 : argument.value.toInt32() != 0;
            } else if (!sameName(argument.name, "UseFormattingFrom") &&
                       !sameName(argument.name, "AddToRecentFiles")) {
                throw Error("Merge has no argument named \"" + argument.name + "\".");
            }
        }
        if (!haveFile) throw Error("Merge needs the file name of the document to compare with.");
        // The result stays open in the session; Word's Merge gives nothing back either.
        instance_->session().compare(document_, revised, formatting);
        return {};
    }

    InstanceRef instance_;
    WriterSession::DocumentRef document_;
};

class WordDocuments : public MethodsOnly {
  public:
    explicit WordDocuments(InstanceRef instance) : instance_(std::move(instance)) {}

    Variant call(const std::string& name, const std::vector<Variant>& positional,
                 const std::vector<NamedArgument>& named) override {
        if (!sameName(name, "Open")) throw Unsupported(name);
        std::string path;
        if (!positional.empty()) path = positional.front().toText();
        for (const NamedArgument& argument : named) {
            if (!sameName(argument.name, "FileName")) {
                throw Error("Open has no argument named \"" + argument.name + "\".");
            }
            path = argument.value.toText();
        }
        if (positional.size() > 1) throw Error("Open takes only the file name.");
        auto document = instance_->session().open(path);
        instance_->gaveDocument = true;
        return Variant::object(Object(std::make_shared<WordDocument>(instance_, document)));
    }

  private:
    InstanceRef instance_;
};

class WordApplication : public automation::Dispatch {
  public:
    explicit WordApplication(InstanceRef instance) : instance_(std::move(instance)) {}

    Variant get(const std::string& name) override {
        if (sameName(name, "Documents")) {
            return Variant::object(Object(std::make_shared<WordDocuments>(instance_)));
        }
        if (sameName(name, "DisplayAlerts")) return Variant::int32(displayAlerts_);
        if (sameName(name, "Visible")) return Variant::boolean(visible_);
        throw Unsupported(name);
    }

    void put(const std::string& name, const Variant& value) override {
        if (sameName(name, "DisplayAlerts")) {
            // The office never shows a dialog of its own here, whatever the level.
            displayAlerts_ = value.type() == Variant::Type::Boolean ? (value.toBool() ? -1 : 0)
                                                                    : value.toInt32();
        } else if (sameName(name, "Visible")) {
            const bool visible =
                value.type() == Variant::Type::Boolean ? value.toBool() : value.toInt32() != 0;
            if (visible) {
                instance_->session().show();
                // This office is the user's now: the next comparison gets a warm one.
                if (auto warm = instance_->warm.lock()) warm->prepare();
            }
            visible_ = visible;
        } else {
            throw Unsupported(name);
        }
    }

    Variant call(const std::string& name, const std::vector<Variant>& positional,
                 const std::vector<NamedArgument>& named) override {
        if (!sameName(name, "Quit")) throw Unsupported(name);
        ExpectNoArguments(name, positional, named);
        auto warm = instance_->warm.lock();
        if (!instance_->gaveDocument && warm && instance_->start) {
            // Never given a document: kept warm for the next creation instead of ended.
            warm->park(std::move(instance_->start));
        } else {
            instance_->session().quit();
        }
        return {};
    }

    Variant defaultValue() override { return Variant::text(instance_->session().productName()); }

  private:
    InstanceRef instance_;
    std::int32_t displayAlerts_ = -1;
    bool visible_ = false;
};

}  // namespace

Object MakeWordApplication(std::shared_ptr<StartingSession> session,
                           std::weak_ptr<WarmOffice> warm) {
    auto instance = std::make_shared<Instance>();
    instance->start = std::move(session);
    instance->warm = std::move(warm);
    return Object(std::make_shared<WordApplication>(std::move(instance)));
}

}  // namespace office
