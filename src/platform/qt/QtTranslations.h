#pragma once

// What Qt draws itself (the text boxes' menu, the file dialog) speaks the program's Chinese,
// whatever the locale says.
namespace QtTranslations {

// Loads Qt's own Simplified Chinese translations into the running application; false when they
// are not installed (Debian's qt6-translations-l10n), and Qt's English stays.
bool install();

} // namespace QtTranslations
