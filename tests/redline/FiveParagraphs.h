// Five paragraphs that the engine's tests move, delete and insert, and the text each reads as.
#pragma once

#include <string>

#include "support/Docx.h"

namespace five {

inline const std::string A = docx::Text("The first paragraph stays where it is.");
inline const std::string B = docx::Text("The second paragraph has words of its own.");
inline const std::string C = docx::Text("A third paragraph follows the second one.");
inline const std::string D = docx::Text("The fourth paragraph is short and plain.");
inline const std::string E = docx::Text("And the fifth paragraph ends the story.");
inline const std::string kA = "The first paragraph stays where it is.\n";
inline const std::string kB = "The second paragraph has words of its own.";
inline const std::string kC = "A third paragraph follows the second one.\n";
inline const std::string kD = "The fourth paragraph is short and plain.\n";
inline const std::string kE = "And the fifth paragraph ends the story.\n";

}  // namespace five
