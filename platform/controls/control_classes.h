// Registration of each control class; registerStandardControls calls them all once.
#pragma once

namespace controls {

void registerStaticClass();
void registerButtonClass();
void registerEditClass();
void registerListBoxClass();
void registerComboBoxClass();
void registerTreeViewClass();

}  // namespace controls
