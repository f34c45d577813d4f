// The default kanji code and newline type recorded for one file extension.
#pragma once

#include "codec/BryKanjiFilter.h"
#include "codec/BryNewlineFilter.h"
#include "platform/AnsiString.h"
#include "registry/BryRegistrySerializable.h"

class ZuvExtensionInfo : public BryRegistrySerializable {
public:
    // Lower case without leading dots: ".TXT", "txt" and "..Txt" all give "txt".
    static AnsiString NormalizeExtension(const AnsiString& text);

    // Stores the normalised form, so equal extensions are equal byte for byte.
    void SetExtension(const AnsiString& text);
    AnsiString GetExtension() const { return extension; }
    void SetKanjiCode(KanjiCode code) { kanjiCode = code; }
    KanjiCode GetKanjiCode() const { return kanjiCode; }
    void SetNewlineType(NewlineType type) { newlineType = type; }
    NewlineType GetNewlineType() const { return newlineType; }
    // Unknown names give UNKNOWN.
    void SetKanjiCodeName(const AnsiString& name);
    void SetNewlineTypeName(const AnsiString& name);

    // The REG_SZ values "Extension", "KanjiCode" and "NewlineType" of the open key, codes
    // by name. A load that fails leaves the fields as they were.
    void SaveToRegistry(BryRegistry* registry) override;
    void LoadFromRegistry(BryRegistry* registry) override;

private:
    AnsiString extension;
    NewlineType newlineType = NewlineType::UNKNOWN;
    KanjiCode kanjiCode = KanjiCode::UNKNOWN;
};
