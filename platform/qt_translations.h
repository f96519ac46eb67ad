#pragma once

namespace localyx {

/// Makes Qt's own texts (the context menus of the text boxes and lists, the
/// scroll bars' menus) French, whatever the user's locale, as every other
/// text of the program is. Call once, after the application object exists.
/// @return false when Qt's French translations are not installed: those
///         texts then stay English
bool installQtFrenchTexts();

}  // namespace localyx
