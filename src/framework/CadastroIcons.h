#pragma once
#include <QIcon>

namespace dv {

// The pictures of the maintenance screens' button bar.
enum class CadastroIcon { Save, Close, Print, Help };

// From the desktop's icon theme, with a picture drawn here when the theme lacks it.
QIcon cadastroIcon(CadastroIcon which);

} // namespace dv
