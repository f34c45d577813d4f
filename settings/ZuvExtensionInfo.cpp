#include "settings/ZuvExtensionInfo.h"

#include "registry/BryRegistry.h"

namespace {

const char* const kExtensionName = "Extension";
const char* const kKanjiCodeName = "KanjiCode";
const char* const kNewlineTypeName = "NewlineType";

} // namespace

AnsiString ZuvExtensionInfo::NormalizeExtension(const AnsiString& text) {
    const AnsiString lower = AnsiLowerCase(text);
    const std::size_t start = lower.find_first_not_of('.');
    return start == AnsiString::npos ? AnsiString() : lower.substr(start);
}

void ZuvExtensionInfo::SetExtension(const AnsiString& text) {
    extension = NormalizeExtension(text);
}

void ZuvExtensionInfo::SetKanjiCodeName(const AnsiString& name) {
    kanjiCode = BryKanjiFilter::NameToCode(name);
}

void ZuvExtensionInfo::SetNewlineTypeName(const AnsiString& name) {
    newlineType = BryNewlineFilter::NameToType(name);
}

void ZuvExtensionInfo::SaveToRegistry(BryRegistry* registry) {
    registry->WriteString(kExtensionName, extension);
    registry->WriteString(kKanjiCodeName, BryKanjiFilter::CodeToName(kanjiCode));
    registry->WriteString(kNewlineTypeName, BryNewlineFilter::TypeToName(newlineType));
}

void ZuvExtensionInfo::LoadFromRegistry(BryRegistry* registry) {
    const AnsiString storedExtension = registry->ReadString(kExtensionName);
    const AnsiString storedKanjiCode = registry->ReadString(kKanjiCodeName);
    const AnsiString storedNewlineType = registry->ReadString(kNewlineTypeName);
    SetExtension(storedExtension);
    SetKanjiCodeName(storedKanjiCode);
    SetNewlineTypeName(storedNewlineType);
}
