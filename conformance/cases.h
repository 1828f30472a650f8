// The cases, one operation per group; each prints its own "case" lines.
#pragma once

namespace conformance {

void windowCases();
void dialogCases();
void listBoxCases();
void comboBoxCases();
void editCases();
void treeViewCases();
void buttonCases();
void textCases();

} // namespace conformance
