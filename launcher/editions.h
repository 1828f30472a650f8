// The three editions on the distribution medium, in the order of the first three buttons.
#pragma once

struct EditionChoice {
    const char* setupFormat; // "%s" is the launcher's folder
    const char* message;     // shown under the buttons once the edition is chosen
};

constexpr int editionCount = 3;
extern const EditionChoice editionChoices[editionCount];
