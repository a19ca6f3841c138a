#include "support/ScriptedHost.h"

#include "automation/Error.h"

using automation::Dispatch;
using automation::NamedArgument;
using automation::Object;
using automation::sameName;
using automation::Variant;

namespace {

std::string ArgumentList(const std::vector<Variant>& positional,
                         const std::vector<NamedArgument>& named) {
    std::string list;
    auto add = [&](const std::string& item) { list += (list.empty() ? "" : ", ") + item; };
    for (const Variant& v : positional) add(v.describe());
    for (const NamedArgument& a : named) add(a.name + ":=" + a.value.describe());
    return list;
}

// One object of the scripted model: "word" (the application), "documents", "document", or
// "running" (what the running-object lookup finds).
class ScriptedObject : public Dispatch {
  public:
    ScriptedObject(ScriptedHost& host, std::string kind, Variant name = {})
        : host_(host), kind_(std::move(kind)), name_(std::move(name)) {
        host_.objectMade();
    }
    ~ScriptedObject() override { host_.objectGone(); }

    Variant get(const std::string& member) override {
        host_.record(kind_ + "." + member);
        if (kind_ == "word" && sameName(member, "Documents")) return make("documents");
        throw unknown(member);
    }

    void put(const std::string& member, const Variant& value) override {
        host_.record(kind_ + "." + member + " = " + value.describe());
        const bool known =
            kind_ == "word" && (sameName(member, "DisplayAlerts") || sameName(member, "Visible"));
        if (!known) throw unknown(member);
    }

    Variant call(const std::string& member, const std::vector<Variant>& positional,
                 const std::vector<NamedArgument>& named) override {
        host_.record(kind_ + "." + member + "(" + ArgumentList(positional, named) + ")");
        if (kind_ == "documents" && sameName(member, "Open")) return make("document");
        if (kind_ == "document" && (sameName(member, "Merge") || sameName(member, "Close") ||
                                    sameName(member, "SaveAs2"))) {
            return {};
        }
        if (kind_ == "word" && sameName(member, "Quit")) return {};
        throw unknown(member);
    }

    Variant defaultValue() override {
        host_.record(kind_ + ".(default)");
        if (kind_ == "running") return name_;
        return Variant::text("Microsoft Word");
    }

  private:
    Variant make(const std::string& kind) {
        return Variant::object(Object(std::make_shared<ScriptedObject>(host_, kind)));
    }
    automation::Error unknown(const std::string& member) const {
        return automation::Error("Object doesn't support this property or method: " + member);
    }

    ScriptedHost& host_;
    std::string kind_;
    Variant name_;
};

}  // namespace

void ScriptedHost::fail(std::string linePrefix, std::string description) {
    rules_.push_back({std::move(linePrefix), std::move(description), nullptr});
}

void ScriptedHost::during(std::string linePrefix, std::function<void()> action) {
    rules_.push_back({std::move(linePrefix), std::nullopt, std::move(action)});
}

void ScriptedHost::record(const std::string& line) {
    calls_.push_back(line);
    for (const Rule& rule : rules_) {
        if (line.rfind(rule.prefix, 0) != 0) continue;
        if (rule.action) rule.action();
        if (rule.failure) throw automation::Error(*rule.failure);
    }
}

Object ScriptedHost::create(const std::string& progId) {
    record("create " + progId);
    if (progId != "Word.Application") throw automation::Error("Cannot create " + progId);
    return Object(std::make_shared<ScriptedObject>(*this, "word"));
}

Object ScriptedHost::getActive(const std::string& progId) {
    record("getActive " + progId);
    if (!running_ || progId != "Word.Application") {
        throw automation::Error("No running object of " + progId);
    }
    return Object(std::make_shared<ScriptedObject>(*this, "running", *running_));
}
