// Reads a text file into lines, recording its line ends, and writes lines with a chosen
// line end, replacing the target atomically.
#pragma once

#include "codec/BryNewlineFilterIOException.h"
#include "platform/AnsiString.h"
#include "platform/TStringList.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <sys/types.h>

// Values above CR can occur (they come from stored numbers); SetNewlineType refuses them.
enum class NewlineType : std::uint8_t { UNKNOWN = 0, CR_LF = 1, LF = 2, CR = 3 };

class BryNewlineFilter {
public:
    BryNewlineFilter();
    ~BryNewlineFilter();
    BryNewlineFilter(const BryNewlineFilter&) = delete;
    BryNewlineFilter& operator=(const BryNewlineFilter&) = delete;

    static AnsiString TypeToName(NewlineType type);
    // Case-insensitive; any other text gives UNKNOWN.
    static NewlineType NameToType(const AnsiString& name);

    bool SetNewlineType(NewlineType type);
    NewlineType GetNewlineType() const { return newlineType; }

    // Appends each line as it is to be written to out, so that no converted copy of a list
    // is held and no line passes through a string of its own.
    using LineTransform = std::function<void(const AnsiString& line, AnsiString& out)>;

    // Both throw BryNewlineFilterIOException.
    std::unique_ptr<TStringList> ReadFile(const AnsiString& fileName);
    void WriteFile(const AnsiString& fileName, const TStringList& lines,
                   const LineTransform& transform = {});
    // The same on a descriptor the caller keeps open (standard input and output).
    std::unique_ptr<TStringList> ReadFrom(int fd);
    void WriteTo(int fd, const TStringList& lines, const LineTransform& transform = {});

    void OpenForRead(const AnsiString& fileName);
    // Output goes to a temporary file that Close renames over the target, or, where a
    // rename would change what the file is, is held in memory and written in place by Close.
    void OpenForWrite(const AnsiString& fileName);
    // Finishes a write (the target is replaced only if no write failed) and resets reading.
    void Close();
    AnsiString ReadLine();
    void WriteLine(const AnsiString& line);
    bool IsEndOfFile();

    int GetErrorCode() const { return errorCode; }
    const AnsiString& GetErrorMessage() const { return errorMessage; }

private:
    enum class Mode : std::uint8_t {
        Closed,
        Reading,
        Replacing, // into a temporary file renamed over the target
        InPlace,   // gathered in memory, written over the target by Close
        Stream     // to a descriptor the caller owns
    };

    std::unique_ptr<TStringList> ReadAll();
    void ReserveForFile(TStringList& lines);
    void WriteAll(const TStringList& lines, const LineTransform& transform);
    void Attach(int fd, Mode newMode, bool owned);
    void CloseQuietly();
    void Abandon();
    void FillBuffer();
    void MakeRoom();
    std::size_t FindLineEnd();
    AnsiString ExtractLine(std::size_t end, std::size_t skip);
    bool OpenReplacement(const AnsiString& target);
    void OpenInPlace(const AnsiString& target);
    void EndLine();
    void FlushOutput();
    void StartWriteback(off_t offset, std::size_t length);
    int WriteOut();
    int FinishWrite();
    int CloseHandle();
    int Commit();
    void ResetError();
    [[noreturn]] void Fail(int code, AnsiString message);
    [[noreturn]] void Fail(int code);
    void Require(Mode wanted);
    bool IsWriting() const;

    AnsiString fileName;
    int handle = -1; // -1 when closed: descriptor 0 is standard input
    bool ownsHandle = false;
    Mode mode = Mode::Closed;
    int errorCode = 0;
    AnsiString errorMessage;

    std::unique_ptr<char[]> buffer;
    std::size_t bufferSize = 0;
    std::size_t dataStart = 0;  // first byte not yet taken out as a line
    std::size_t dataLength = 0; // end of the bytes held
    std::size_t scanned = 0;    // bytes after dataStart known to hold no line end
    std::size_t nextLf = 0;     // first LF at or after the scan position, or dataLength
    bool nextLfKnown = false;
    bool endOfFile = false;

    AnsiString targetName; // file that Close replaces or overwrites
    AnsiString tempName;   // replacement being written, empty when writing in place
    AnsiString output;     // gathered output not yet written
    off_t written = 0;     // bytes of the replacement written so far
    bool writeFailed = false;

    NewlineType newlineType = NewlineType::UNKNOWN;
};
