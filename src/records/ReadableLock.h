#pragma once

class QWidget;

namespace records {

// A locked container (or control) still refuses all input, but shows its values in the
// normal text colour of the palette in use instead of the faint disabled one: a
// stored value must stay readable while it cannot be changed. The locked look that
// is left is the plain background of a disabled box. Follows palette and style
// changes, such as a dark desktop theme taken up while the program runs.
void keepLockedValuesReadable(QWidget* widget);

} // namespace records
