// litranslationloader.h - cLITranslationLoader, the reader of plain translation files.
// SPDX-License-Identifier: MIT
#ifndef QOR_CORE_UCS_LITRANSLATIONLOADER_H
#define QOR_CORE_UCS_LITRANSLATIONLOADER_H

#include "qor_core/ucs/litrtable.h"

namespace qucs {

/// Reads plain translation files: statements "key" = "value", separated by line
/// breaks, blanks, tabs or ';', with "//" comments to the end of the line, read
/// from the system's file system. Syntax errors are cTextParseException "tr" with
/// the file name, line and column. Either operation leaves the table as it was
/// when it fails. No state.
class QOR_EXPORT cLITranslationLoader
{
public:
    /// Replaces the table's contents with the file's pairs.
    void loadFile(const cString& sFileName, cLITrTable& oTable);
    /// Adds the file's pairs to the table; keys already there keep their text.
    void patchFromFile(const cString& sFileName, cLITrTable& oTable);
};

} // namespace qucs

#endif // QOR_CORE_UCS_LITRANSLATIONLOADER_H
