// XML names as namespaces define them, read the tests' own way: a prefix means what the
// declarations in scope bind it to, whatever the writer chose.
#pragma once

#include <pugixml.hpp>

#include <string>
#include <vector>

// Renames every element and attribute below `root` to the prefixes the tests name them by ("w",
// "r", "m", "wp", "a", ...), by namespace; a namespace the tests do not know gets one made from
// its name, the same whoever wrote it.
// Answers the prefixes used (in names, in mc:Ignorable, in mc:Choice's Requires) where nothing
// declares them.
std::vector<std::string> RenameToTestPrefixes(pugi::xml_node root);

// The prefixes used below `root` where nothing declares them, changing nothing.
std::vector<std::string> UndeclaredPrefixes(const pugi::xml_node& root);
