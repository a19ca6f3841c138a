// Whether a Word document's stories are what the Transitional schemas allow, read as Word reads
// them: Markup Compatibility first (what it may ignore dropped, alternate content resolved to
// the first choice it understands), then each story part validated by xmllint.
#pragma once

#include <set>
#include <string>
#include <vector>

// The schemas' folder (holding wml.xsd) in the source tree.
std::string SchemaFolder();

// Every schema error in the story parts of `docx`, each as "part: message" without line
// numbers, so that the same fault in two files reads the same.
std::set<std::string> SchemaErrors(const std::string& docx);

// The errors of `result` that none of `inputs` has: what the comparison broke.
std::vector<std::string> NewSchemaErrors(const std::string& result,
                                         const std::vector<std::string>& inputs);

// Markup Compatibility applied to one XML part, as a reader that understands the namespaces
// `understood` applies it.
std::string ApplyMarkupCompatibility(const std::string& xml,
                                     const std::set<std::string>& understood);
