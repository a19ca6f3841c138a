// Comments, a story of their own for each: the original's and the revised document's paired by
// author and date, else by the text they annotate or their own; a pair's texts are compared as a
// note's are. A comment only the original has comes into the result with its marks where they
// stood, its reference deleted; one only the revised document has gets its reference inserted.
// Either way rejecting every change gives the original's comments and accepting the revised's.
#pragma once

#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

#include "redline/parts/CommentAnchors.h"
#include "redline/write/Writer.h"

namespace redline {

class Comparer;
struct PackagePart;

class Comments : public CommentCarryOver {
  public:
    explicit Comments(Comparer& comparer);

    // Reads and pairs both sides' comments, by where they stand in the bodies; answers whether
    // the original has any (whose marks the writer must then look at).
    bool pair(const Story& bodyA, const Story& bodyB);
    std::string carriedComment(const std::string& id) override;
    bool originalOnly(const std::string& id) const override;
    // Compares the paired comments, marks the references of the new ones inserted and reports
    // the comments that came and went.
    void process();
    // Threads the original's replies that came along under their comments, once every
    // paragraph of the result has the id it keeps.
    void thread();

  private:
    struct Comment {
        pugi::xml_node node;
        std::string author, date, text, annotated;
    };
    std::vector<Comment> read(PackagePart* part, const Story& body);
    bool load();
    bool isCarried(const std::string& resultId) const;
    // Finds the result's comments and their marks in its body, by id, once.
    void index();
    // The run of the reference of the result's comment, or none.
    pugi::xml_node reference(const std::string& resultId) const;
    // Takes a copy of a paired comment away again, with its marks: rejecting keeps the
    // result's own comment, so the original's is not needed.
    void drop(const std::string& resultId);
    // The id of the comment's last paragraph, which a reply names as its parent.
    static std::string LastParagraphId(const pugi::xml_node& comment);
    pugi::xml_node resultComment(const std::string& id) const;
    // The steps of process(): the paired comments compared; the copies of paired comments
    // settled, kept where the result's own does not serve rejecting, and listed as moved; the
    // revised document's own comments' references marked inserted.
    void comparePaired();
    void settleProvisional();
    void listMoved(const std::string& idA, const std::string& copy, const pugi::xml_node& own);
    void markNew();

    Comparer& comparer_;
    PackagePart* a_ = nullptr;
    PackagePart* b_ = nullptr;
    std::map<std::string, std::string> pairs_;    // original's id -> revised's
    std::set<std::string> paired_;                // the revised's ids that have a pair
    std::map<std::string, std::string> carried_;  // original's id -> its copy's in the result
    // Copies of paired comments whose marks stood in removed content, kept only where the
    // result's own comment is gone when every change is rejected (its text moved, say).
    std::map<std::string, std::string> provisional_;
    std::map<std::string, pugi::xml_node> originals_;           // by id
    std::unordered_map<std::string, CommentAnchor> anchorsA_;   // where each stands, by id
    std::set<std::string> carriedIds_;                          // the copies' ids in the result
    std::unordered_map<std::string, pugi::xml_node> inResult_;  // the result's comments, by id
    std::map<std::string, std::vector<pugi::xml_node>> marks_;  // their marks in its body
    long nextId_ = 0;
};

}  // namespace redline
