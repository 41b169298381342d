#include "platform/nm/problem_notes.h"

namespace platform::nm {

void ProblemNotes::tell(const std::string& subject, const std::string& line) {
    auto [entry, first] = told_.try_emplace(subject, line);
    if (!first && entry->second == line) {
        return;
    }
    entry->second = line;
    console_.note(line);
}

}  // namespace platform::nm
