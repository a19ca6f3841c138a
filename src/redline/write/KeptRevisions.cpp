#include "redline/write/KeptRevisions.h"

#include <algorithm>
#include <vector>

#include "redline/align/Diff.h"
#include "redline/io/BothAtOnce.h"
#include "redline/io/Names.h"
#include "redline/io/Xml.h"
#include "redline/read/Trail.h"
#include "redline/write/KeptTables.h"
#include "redline/write/Reinsert.h"
#include "redline/write/Splits.h"

namespace redline {

namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Result steps, one after another in one run's text or one element, that take what a revised
// step says: its mark's author (`own`), its record of changed properties (`format`).
struct Segment {
    std::size_t first, last, revised;
    bool own, format;
};

struct Insertion {
    std::size_t before;
    std::vector<std::size_t> steps;
};

// The paragraph's own mark (inserted, deleted, moved), or none.
pugi::xml_node ParagraphMark(const pugi::xml_node& paragraph) {
    for (pugi::xml_node mark : paragraph.child(w::pPr).child(w::rPr).children()) {
        if (IsContentMark(mark)) return mark;
    }
    return {};
}

pugi::xml_node RowMark(const pugi::xml_node& row) {
    for (pugi::xml_node mark : row.child(w::trPr).children()) {
        if (Named(mark, w::ins) || Named(mark, w::del)) return mark;
    }
    return {};
}

pugi::xml_node FormatRecord(const TrailStep& step) {
    if (step.kind == TrailKind::ParagraphEnd) return step.node.child(w::pPr).child(w::pPrChange);
    return FormatChangeOf(step);
}

class Overlay {
  public:
    Overlay(pugi::xml_node result, const pugi::xml_node& revised, Stamp& stamp, KeptLog& log)
        : stamp_(stamp), log_(log) {
        // The two readings share nothing: on two cores at once.
        BothAtOnce([&] { result_ = TrailOf(result, true); },
                   [&] { revised_ = TrailOf(revised, true); });
    }

    // What the result reads as accepted, before anything is laid over it.
    std::uint64_t acceptedBefore() const { return AcceptedDigest(result_); }

    // Works out what to lay over; answers whether any of it writes content back, which cuts
    // paragraphs and places copies (marks taken over or wrapped around runs leave the text as
    // it was).
    bool prepare() {
        refine();
        plan();
        return !insertions_.empty();
    }

    void run(const pugi::xml_node& result, const pugi::xml_node& revised) {
        apply();
        sections(result, revised);
    }

  private:
    // Read coarsely, the two mostly agree text for text; where they do not, both are read again
    // a step a character.
    void refine() {
        Keys keysA, keysB;
        std::vector<std::size_t> acceptedA, acceptedB;
        accepted(result_, acceptedA, keysA);
        accepted(revised_, acceptedB, keysB);
        if (keysA == keysB) return;
        std::vector<bool> fineA(result_.size()), fineB(revised_.size());
        std::size_t a = 0, b = 0;
        for (const Edit& edit : Difference(keysA, keysB)) {
            for (std::uint32_t k = 0; k < edit.count; ++k) {
                if (edit.kind != EditKind::Insert)
                    fineA[acceptedA[a]] = edit.kind == EditKind::Delete, ++a;
                if (edit.kind != EditKind::Delete)
                    fineB[acceptedB[b]] = edit.kind == EditKind::Insert, ++b;
            }
        }
        result_ = Refined(result_, fineA);
        revised_ = Refined(revised_, fineB);
    }

    static void accepted(const std::vector<TrailStep>& steps, std::vector<std::size_t>& at,
                         Keys& keys) {
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (!steps[i].removed) at.push_back(i), keys.push_back(steps[i].key);
        }
    }

    static std::vector<TrailStep> Refined(const std::vector<TrailStep>& steps,
                                          const std::vector<bool>& fine) {
        std::vector<TrailStep> refined;
        refined.reserve(steps.size());
        for (std::size_t i = 0; i < steps.size(); ++i) {
            if (fine[i] && steps[i].whole) {
                AppendFineSteps(steps[i], refined);
            } else {
                refined.push_back(steps[i]);
            }
        }
        return refined;
    }

    void plan() {
        std::vector<std::size_t> acceptedA, acceptedB;
        Keys keysA, keysB;
        accepted(result_, acceptedA, keysA);
        accepted(revised_, acceptedB, keysB);
        // Both read as the revised document accepted: mostly alike, step for step.
        const Script script = keysA == keysB
                                  ? Script{{EditKind::Equal, std::uint32_t(keysA.size())}}
                                  : Difference(keysA, keysB);
        std::size_t a = 0, b = 0, previousA = 0, previousB = 0;
        for (const Edit& edit : script) {
            for (std::uint32_t k = 0; k < edit.count; ++k) {
                if (edit.kind == EditKind::Equal) {
                    const std::size_t at = acceptedA[a++], from = acceptedB[b++];
                    gap(previousA, at, previousB, from);
                    pair(at, from);
                    previousA = at + 1;
                    previousB = from + 1;
                } else if (edit.kind == EditKind::Delete) {
                    ++a;
                } else if (revised_[acceptedB[b++]].mark) {
                    ++log_.lost;  // the result has no such content: nothing to mark
                }
            }
        }
        gap(previousA, result_.size(), previousB, revised_.size());
    }

    void pair(std::size_t at, std::size_t from) {
        const TrailStep& step = revised_[from];
        if (step.partly) {
            ++log_.lost;  // an equation changed in part stays as the result has it
            return;
        }
        // A story's only paragraph whose mark the revised document deleted stays, the mark on it.
        const bool own = step.mark && (!Removes(step.mark) || step.kind == TrailKind::ParagraphEnd);
        const bool format = step.kind == TrailKind::RowEnd
                                ? HoldsTableRecords(step.node)
                                : step.kind != TrailKind::Equation && FormatRecord(step);
        if (own || format) segment(at, from, own, format);
    }

    void segment(std::size_t at, std::size_t from, bool own, bool format) {
        if (!segments_.empty()) {
            Segment& last = segments_.back();
            const TrailStep &before = result_[last.last], &step = result_[at];
            const TrailStep &was = revised_[last.revised], &is = revised_[from];
            if (last.last + 1 == at && step.kind == TrailKind::Text && before.kind == step.kind &&
                before.node == step.node && was.mark == is.mark && last.own == own &&
                last.format == format && FormatRecord(was) == FormatRecord(is)) {
                last.last = at;
                return;
            }
        }
        segments_.push_back({at, at, from, own, format});
    }

    // The deleted content between two steps that both read alike: the result's and the
    // revised document's paired where they agree, the revised document's own written back.
    void gap(std::size_t beginA, std::size_t endA, std::size_t beginB, std::size_t endB) {
        std::vector<std::size_t> removedB;
        for (std::size_t i = beginB; i < endB; ++i) {
            if (revised_[i].removed) removedB.push_back(i);
        }
        if (removedB.empty()) return;
        std::vector<std::size_t> removedA;
        Keys keysA, keysB;
        for (std::size_t i = beginA; i < endA; ++i) {
            if (result_[i].removed) removedA.push_back(i), keysA.push_back(result_[i].key);
        }
        for (std::size_t i : removedB) keysB.push_back(revised_[i].key);
        std::size_t a = 0, b = 0;
        for (const Edit& edit : Difference(keysA, keysB)) {
            if (edit.kind == EditKind::Insert) {
                const std::size_t before = a < removedA.size() ? removedA[a] : endA;
                insertions_.push_back(
                    {before, {removedB.begin() + b, removedB.begin() + b + edit.count}});
                b += edit.count;
                continue;
            }
            for (std::uint32_t k = 0; k < edit.count; ++k, ++a) {
                if (edit.kind == EditKind::Equal) segment(removedA[a], removedB[b++], true, false);
            }
        }
    }

    // From the end back: what is cut leaves the content before it where it was.
    void apply() {
        Reinsert reinsert(result_, revised_, stamp_);
        std::size_t segment = segments_.size(), insertion = insertions_.size();
        while (segment > 0 || insertion > 0) {
            if (insertion == 0 || (segment > 0 && segments_[segment - 1].first >=
                                                      insertions_[insertion - 1].before)) {
                write(segments_[--segment]);
            } else {
                const Insertion& in = insertions_[--insertion];
                if (reinsert.before(in.before, in.steps)) {
                    ++log_.kept;
                } else {
                    log_.lost += static_cast<int>(in.steps.size());
                }
            }
        }
    }

    void write(const Segment& segment) {
        const TrailStep &first = result_[segment.first], &last = result_[segment.last];
        const TrailStep& from = revised_[segment.revised];
        ++log_.kept;
        if (first.kind == TrailKind::Equation) return equation(first, from);
        if (first.kind == TrailKind::ParagraphEnd || first.kind == TrailKind::RowEnd) {
            const bool paragraph = first.kind == TrailKind::ParagraphEnd;
            pugi::xml_node mark = paragraph ? ParagraphMark(first.node) : RowMark(first.node);
            if (segment.own && paragraph && !mark && Removes(from.mark)) {
                mark = PropertiesOf(PropertiesOf(first.node, w::pPr), w::rPr).prepend_child(w::del);
                mark.append_attribute("w:id") = stamp_.nextId();
                TakeAuthor(mark, from.mark);
            } else if (segment.own) {
                take(mark, mark, from.mark, [&] {
                    return paragraph ? PropertiesOf(PropertiesOf(first.node, w::pPr), w::rPr)
                                           .prepend_child(w::ins)
                                     : PropertiesOf(first.node, w::trPr).append_child(w::ins);
                });
            }
            if (segment.format && paragraph) {
                record(PropertiesOf(first.node, w::pPr), FormatRecord(from));
            } else if (segment.format) {
                CopyTableRecords(first.node, from.node, stamp_, heard());
            }
            return;
        }
        pugi::xml_node run =
            IsolateRun(first.node, first.offset, last.node,
                       last.kind == TrailKind::Text ? last.offset + last.length : 0, stamp_);
        if (segment.own) {
            take(MarkAroundAlone(run, stamp_), first.mark, from.mark, [&] {
                pugi::xml_node wrapper = run.parent().insert_child_before(w::ins, run);
                wrapper.append_move(run);
                return wrapper;
            });
        }
        if (segment.format) record(PropertiesOf(run, w::rPr), FormatRecord(from));
    }

    // Each section's record of changed page setup, paired by place where both have as many
    // sections.
    void sections(const pugi::xml_node& result, const pugi::xml_node& revised) {
        const char* const query = ".//w:sectPr[not(parent::w:sectPrChange)]";
        const auto ours = result.select_nodes(query), theirs = revised.select_nodes(query);
        for (std::size_t i = 0; i < theirs.size(); ++i) {
            if (!theirs[i].node().child(w::sectPrChange)) continue;
            if (ours.size() != theirs.size()) {
                ++log_.lost;
                continue;
            }
            record(ours[i].node(), theirs[i].node().child(w::sectPrChange));
        }
    }

    // An equation's marks take the author of the revised one's; where it has none, its runs
    // are marked inserted first.
    void equation(const TrailStep& step, const TrailStep& from) {
        auto marks = [&] { return step.node.select_nodes(".//w:ins|.//w:del"); };
        if (marks().empty() && !Removes(from.mark)) MarkRuns(step.node, Mark::Insert, stamp_);
        for (const pugi::xpath_node& found : marks()) {
            pugi::xml_node mark = found.node();
            if (Removes(mark) != Removes(from.mark)) continue;
            log_.authorOf[mark.attribute("w:id").as_int()] =
                from.mark.attribute("w:author").value();
            TakeAuthor(mark, from.mark);
        }
    }

    // The result's mark (a piece of the comparison's mark `was`) takes the revised one's
    // author; where there is none, one is made.
    template <class Make>
    void take(pugi::xml_node mark, const pugi::xml_node& was, const pugi::xml_node& from,
              Make make) {
        if (mark) {
            log_.authorOf[was.attribute("w:id").as_int()] = from.attribute("w:author").value();
        } else if (Removes(from)) {
            return;
        } else {
            mark = make();
            mark.append_attribute("w:id") = stamp_.nextId();
        }
        TakeAuthor(mark, from);
    }

    // The revised record of changed properties, in place of the result's own, whose id it
    // takes over.
    void record(pugi::xml_node properties, const pugi::xml_node& change) {
        TakeRecord(properties, change, stamp_, heard());
    }

    // Hears a comparison's record that a revised one replaced.
    std::function<void(int, const std::string&)> heard() {
        return [this](int id, const std::string& author) { log_.authorOf[id] = author; };
    }

    std::vector<TrailStep> result_, revised_;
    Stamp& stamp_;
    KeptLog& log_;
    std::vector<Segment> segments_;
    std::vector<Insertion> insertions_;
};

}  // namespace

void KeepRevisions(pugi::xml_node result, const pugi::xml_node& revised, Stamp& stamp,
                   KeptLog& log) {
    KeptLog own;
    Overlay overlay(result, revised, stamp, own);
    // Laying changes over never alters what accepting them gives: where content written back
    // would, the part stays as the comparison wrote it, its changes taken as accepted.
    const bool writesBack = overlay.prepare();
    pugi::xml_document before;
    if (writesBack) before.append_copy(result);
    const std::uint64_t accepted = writesBack ? overlay.acceptedBefore() : 0;
    overlay.run(result, revised);
    if (!writesBack || AcceptedDigest(TrailOf(result, true)) == accepted) {
        log.kept += own.kept;
        log.lost += own.lost;
        log.authorOf.insert(own.authorOf.begin(), own.authorOf.end());
        return;
    }
    while (result.first_child()) result.remove_child(result.first_child());
    for (pugi::xml_node child : before.first_child().children()) result.append_copy(child);
    for (const TrailStep& step : TrailOf(revised)) log.lost += step.mark ? 1 : 0;
}

}  // namespace redline
