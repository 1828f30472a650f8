#include "search/search_state.h"

SearchState searchState;

void freeRubricTable() {
    searchState.rubricTable = RubricTable{};
}
