#include "WriterReadback.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XEnumerationAccess.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/container/XNameAccess.hpp>
#include <com/sun/star/document/XRedlinesSupplier.hpp>
#include <com/sun/star/drawing/XDrawPage.hpp>
#include <com/sun/star/drawing/XDrawPageSupplier.hpp>
#include <com/sun/star/frame/DispatchHelper.hpp>
#include <com/sun/star/frame/XModel.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/style/XStyleFamiliesSupplier.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/text/XEndnotesSupplier.hpp>
#include <com/sun/star/text/XFootnotesSupplier.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextFieldsSupplier.hpp>
#include <com/sun/star/text/XTextFrame.hpp>
#include <com/sun/star/text/XTextFramesSupplier.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/text/XTextTable.hpp>

#include <algorithm>
#include <vector>

#include "office/OfficeDocuments.h"
#include "office/UnoValues.h"
#include "office/WriterSessionParts.h"

using namespace office;

using namespace com::sun::star;
using rtl::OUString;

namespace {

void AppendText(const uno::Reference<text::XText>& body, std::string& out) {
    uno::Reference<container::XEnumerationAccess> access(body, uno::UNO_QUERY_THROW);
    auto elements = access->createEnumeration();
    while (elements->hasMoreElements()) {
        uno::Reference<lang::XServiceInfo> element(elements->nextElement(), uno::UNO_QUERY);
        if (!element.is()) continue;
        if (element->supportsService("com.sun.star.text.TextTable")) {
            uno::Reference<text::XTextTable> table(element, uno::UNO_QUERY_THROW);
            const auto rows = table->getRows()->getCount();
            const auto columns = table->getColumns()->getCount();
            for (sal_Int32 r = 0; r < rows; ++r) {
                for (sal_Int32 c = 0; c < columns; ++c) {
                    // Cells are named by column letter and row number: "A1", "B1", ...
                    const std::string name =
                        std::string(1, static_cast<char>('A' + c)) + std::to_string(r + 1);
                    uno::Reference<text::XText> cell(table->getCellByName(UnoString(name)),
                                                     uno::UNO_QUERY);
                    if (cell.is()) AppendText(cell, out);
                    out += '\t';
                }
                out += '\n';
            }
        } else {
            uno::Reference<text::XTextRange> paragraph(element, uno::UNO_QUERY);
            if (!paragraph.is()) continue;
            // Writer gives a block-level content control a carriage return of its own: not text.
            std::string text = Utf8(paragraph->getString());
            std::erase(text, '\r');
            out += text + "\n";
        }
    }
}

// Appends, under `title`, the text of each story that holds any; with `once`, a text already
// given is left out (a text box read from a Word 97-2003 file shows as a shape and as the frame
// the shape carries, one story seen twice).
void AppendStories(const std::string& title,
                   const std::vector<uno::Reference<text::XText>>& stories, std::string& out,
                   bool once = false) {
    std::vector<std::string> given;
    for (const auto& story : stories) {
        std::string text;
        if (story.is()) AppendText(story, text);
        if (text.find_first_not_of("\n\t") == std::string::npos) continue;
        if (once && std::find(given.begin(), given.end(), text) != given.end()) continue;
        given.push_back(text);
        out += "[" + title + "]\n" + text;
    }
}

std::vector<uno::Reference<text::XText>> Notes(
    const uno::Reference<container::XIndexAccess>& notes) {
    std::vector<uno::Reference<text::XText>> stories;
    for (sal_Int32 i = 0; notes.is() && i < notes->getCount(); ++i) {
        stories.emplace_back(notes->getByIndex(i), uno::UNO_QUERY);
    }
    return stories;
}

// The headers and footers of every page style in use, by style name.
std::vector<uno::Reference<text::XText>> HeadersAndFooters(
    const uno::Reference<lang::XComponent>& document) {
    std::vector<uno::Reference<text::XText>> stories;
    uno::Reference<style::XStyleFamiliesSupplier> families(document, uno::UNO_QUERY_THROW);
    uno::Reference<container::XNameAccess> pages(
        families->getStyleFamilies()->getByName("PageStyles"), uno::UNO_QUERY_THROW);
    auto names = pages->getElementNames();
    std::vector<OUString> sorted(names.begin(), names.end());
    std::sort(sorted.begin(), sorted.end());
    for (const OUString& name : sorted) {
        uno::Reference<beans::XPropertySet> style(pages->getByName(name), uno::UNO_QUERY_THROW);
        for (const char* on : {"HeaderIsOn", "FooterIsOn"}) {
            bool shown = false;
            style->getPropertyValue(OUString::createFromAscii(on)) >>= shown;
            if (!shown) continue;
            const bool header = on[0] == 'H';
            for (const char* text : {"Text", "TextFirst", "TextLeft"}) {
                try {
                    stories.emplace_back(
                        style->getPropertyValue(OUString::createFromAscii(
                            (std::string(header ? "Header" : "Footer") + text).c_str())),
                        uno::UNO_QUERY);
                } catch (const uno::Exception&) {
                    // An office without first-page or left-page texts of their own.
                }
            }
        }
    }
    return stories;
}

// The text of every text frame, and of every shape on the page that holds text (a text box).
std::vector<uno::Reference<text::XText>> Frames(const uno::Reference<lang::XComponent>& document) {
    std::vector<uno::Reference<text::XText>> stories;
    if (uno::Reference<text::XTextFramesSupplier> supplier{document, uno::UNO_QUERY};
        supplier.is()) {
        auto frames = supplier->getTextFrames();
        auto names = frames->getElementNames();
        std::vector<OUString> sorted(names.begin(), names.end());
        std::sort(sorted.begin(), sorted.end());
        for (const OUString& name : sorted) {
            uno::Reference<text::XTextFrame> frame(frames->getByName(name), uno::UNO_QUERY);
            if (frame.is()) stories.push_back(frame->getText());
        }
    }
    if (uno::Reference<drawing::XDrawPageSupplier> supplier{document, uno::UNO_QUERY};
        supplier.is()) {
        // A text document has one draw page, and only this interface to it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
        auto page = supplier->getDrawPage();
#pragma GCC diagnostic pop
        for (sal_Int32 i = 0; page.is() && i < page->getCount(); ++i) {
            uno::Reference<text::XText> text(page->getByIndex(i), uno::UNO_QUERY);
            if (text.is()) stories.push_back(text);
        }
    }
    return stories;
}

// Each comment the document shows, as "by AUTHOR: its text", in order of their texts.
std::string Comments(const uno::Reference<lang::XComponent>& document) {
    std::vector<std::string> comments;
    uno::Reference<text::XTextFieldsSupplier> supplier(document, uno::UNO_QUERY);
    if (!supplier.is()) return "";
    auto fields = supplier->getTextFields()->createEnumeration();
    while (fields->hasMoreElements()) {
        uno::Reference<lang::XServiceInfo> field(fields->nextElement(), uno::UNO_QUERY);
        if (!field.is() || !field->supportsService("com.sun.star.text.textfield.Annotation"))
            continue;
        uno::Reference<beans::XPropertySet> properties(field, uno::UNO_QUERY_THROW);
        OUString author, content;
        properties->getPropertyValue("Author") >>= author;
        properties->getPropertyValue("Content") >>= content;
        std::string text = Utf8(content);
        std::erase(text, '\r');
        comments.push_back("by " + Utf8(author) + ": " + text + "\n");
    }
    std::sort(comments.begin(), comments.end());
    std::string out;
    for (const std::string& comment : comments) out += "[comment]\n" + comment;
    return out;
}

}  // namespace

std::string DocumentText(WriterSession& session, const DocumentRef& document) {
    std::string out;
    session.guarded("reading a document", [&] {
        uno::Reference<text::XTextDocument> textDocument(document->component, uno::UNO_QUERY_THROW);
        AppendText(textDocument->getText(), out);
        uno::Reference<text::XFootnotesSupplier> footnotes(document->component, uno::UNO_QUERY);
        uno::Reference<text::XEndnotesSupplier> endnotes(document->component, uno::UNO_QUERY);
        AppendStories("footnote", Notes(footnotes.is() ? footnotes->getFootnotes() : nullptr), out);
        AppendStories("endnote", Notes(endnotes.is() ? endnotes->getEndnotes() : nullptr), out);
        AppendStories("header or footer", HeadersAndFooters(document->component), out);
        AppendStories("text box", Frames(document->component), out, true);
        out += Comments(document->component);
    });
    return out;
}

DocumentRef OpenToResolve(WriterSession& session, const std::string& path) {
    auto document = std::make_shared<office::ComparisonSession::Document>();
    session.guarded("opening \"" + path + "\" to resolve its changes", [&] {
        document->component =
            office::LoadCheckedDocument(session.connection().desktop, path, true, document->filter);
    });
    document->path = path;
    return document;
}

void ResolveAll(WriterSession& session, const DocumentRef& document, bool accept) {
    session.guarded(accept ? "accepting every change" : "rejecting every change", [&] {
        uno::Reference<frame::XModel> model(document->component, uno::UNO_QUERY_THROW);
        uno::Reference<frame::XDispatchProvider> provider(model->getCurrentController()->getFrame(),
                                                          uno::UNO_QUERY_THROW);
        frame::DispatchHelper::create(session.connection().context)
            ->executeDispatch(
                provider, accept ? ".uno:AcceptAllTrackedChanges" : ".uno:RejectAllTrackedChanges",
                "", 0, {});
    });
}

RedlineCounts CountRedlines(WriterSession& session, const DocumentRef& document) {
    RedlineCounts counts;
    session.guarded("counting the changes", [&] {
        uno::Reference<document::XRedlinesSupplier> supplier(document->component,
                                                             uno::UNO_QUERY_THROW);
        auto redlines = supplier->getRedlines()->createEnumeration();
        while (redlines->hasMoreElements()) {
            uno::Reference<beans::XPropertySet> redline(redlines->nextElement(), uno::UNO_QUERY);
            OUString type, author;
            if (redline.is()) {
                redline->getPropertyValue("RedlineType") >>= type;
                redline->getPropertyValue("RedlineAuthor") >>= author;
                counts.authors.insert(OUStringToOString(author, RTL_TEXTENCODING_UTF8).getStr());
            }
            if (type == "Insert") {
                ++counts.insertions;
            } else if (type == "Delete") {
                ++counts.deletions;
            } else {
                ++counts.other;
            }
        }
    });
    return counts;
}
