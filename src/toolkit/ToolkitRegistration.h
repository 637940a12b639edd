#pragma once

namespace dv {

// Tells the language files how to read and write the toolkit's own kinds of
// component (the data-bound check box and radio group). Called by their
// constructors; only the first call does anything.
void registerToolkitTexts();

} // namespace dv
