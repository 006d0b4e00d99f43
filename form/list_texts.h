#pragma once

#include <string>

namespace correlatore {

// What the two lists show: the texts that a run reads its Beta and Nm from.
struct ListTexts {
    std::string combo1;
    std::string combo2;

    friend bool operator==(const ListTexts&, const ListTexts&) = default;
};

// The texts the lists start with, as the control table gives them: "Beta" and "Nm campioni".
ListTexts initialListTexts();

} // namespace correlatore
