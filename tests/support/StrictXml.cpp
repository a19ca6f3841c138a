#include "support/StrictXml.h"

#include <libxml/parser.h>
#include <libxml/xmlerror.h>

#include <memory>

#include "support/Zip.h"

std::string StrictXmlProblem(const std::string& bytes) {
    // No network, no entity put in place and no DTD fetched; large documents are not faults.
    std::unique_ptr<xmlParserCtxt, decltype(&xmlFreeParserCtxt)> context(xmlNewParserCtxt(),
                                                                         xmlFreeParserCtxt);
    if (!context) return "the parser could not start";
    const int options = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_HUGE;
    xmlDocPtr document = xmlCtxtReadMemory(
        context.get(), bytes.data(), static_cast<int>(bytes.size()), "part", nullptr, options);
    std::string problem;
    if (!document || !context->wellFormed) {
        const xmlError* error = xmlCtxtGetLastError(context.get());
        problem = error && error->message ? error->message : "not well-formed";
        while (!problem.empty() && problem.back() == '\n') problem.pop_back();
        if (error) problem += " (line " + std::to_string(error->line) + ")";
    }
    if (document) xmlFreeDoc(document);
    return problem;
}

std::vector<std::string> NotWellFormedParts(const std::string& path) {
    std::vector<std::string> out;
    for (const auto& [name, bytes] : ReadZip(path)) {
        if (!name.ends_with(".xml") && !name.ends_with(".rels")) continue;
        const std::string problem = StrictXmlProblem(bytes);
        if (!problem.empty()) out.push_back(name + ": " + problem);
    }
    return out;
}
