#include "platform/office/WordApplication.h"

#include "platform/automation/Error.h"
#include "platform/automation/WordEnumerations.h"

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

// Base for objects that are only ever called: every property access is refused.
class MethodsOnly : public automation::Dispatch {
  public:
    Variant get(const std::string& name) override { throw Unsupported(name); }
    void put(const std::string& name, const Variant&) override { throw Unsupported(name); }
    Variant defaultValue() override { throw Error("The object has no default value."); }
};

class WordDocument : public MethodsOnly {
  public:
    WordDocument(std::shared_ptr<WriterSession> session, WriterSession::DocumentRef document)
        : session_(std::move(session)), document_(std::move(document)) {}

    Variant call(const std::string& name, const std::vector<Variant>& positional,
                 const std::vector<NamedArgument>& named) override {
        if (sameName(name, "Close")) {
            ExpectNoArguments(name, positional, named);
            session_->close(document_);
            return {};
        }
        if (sameName(name, "Merge")) return merge(positional, named);
        throw Unsupported(name);
    }

  private:
    Variant merge(const std::vector<Variant>& positional, const std::vector<NamedArgument>& named) {
        std::string revised;
        bool haveFile = false;
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
            } else if (!sameName(argument.name, "DetectFormatChanges") &&
                       !sameName(argument.name, "UseFormattingFrom") &&
                       !sameName(argument.name, "AddToRecentFiles")) {
                throw Error("Merge has no argument named \"" + argument.name + "\".");
            }
        }
        if (!haveFile) throw Error("Merge needs the file name of the document to compare with.");
        // The result stays open in the session; Word's Merge gives nothing back either.
        session_->compare(document_, revised);
        return {};
    }

    std::shared_ptr<WriterSession> session_;
    WriterSession::DocumentRef document_;
};

class WordDocuments : public MethodsOnly {
  public:
    explicit WordDocuments(std::shared_ptr<WriterSession> session) : session_(std::move(session)) {}

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
        auto document = session_->open(path);
        return Variant::object(Object(std::make_shared<WordDocument>(session_, document)));
    }

  private:
    std::shared_ptr<WriterSession> session_;
};

class WordApplication : public automation::Dispatch {
  public:
    explicit WordApplication(std::shared_ptr<WriterSession> session)
        : session_(std::move(session)) {}

    Variant get(const std::string& name) override {
        if (sameName(name, "Documents")) {
            return Variant::object(Object(std::make_shared<WordDocuments>(session_)));
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
            if (visible) session_->show();
            visible_ = visible;
        } else {
            throw Unsupported(name);
        }
    }

    Variant call(const std::string& name, const std::vector<Variant>& positional,
                 const std::vector<NamedArgument>& named) override {
        if (!sameName(name, "Quit")) throw Unsupported(name);
        ExpectNoArguments(name, positional, named);
        session_->quit();
        return {};
    }

    Variant defaultValue() override { return Variant::text(session_->productName()); }

  private:
    std::shared_ptr<WriterSession> session_;
    std::int32_t displayAlerts_ = -1;
    bool visible_ = false;
};

}  // namespace

Object MakeWordApplication(std::shared_ptr<WriterSession> session) {
    return Object(std::make_shared<WordApplication>(std::move(session)));
}

}  // namespace office
