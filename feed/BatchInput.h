#pragma once

#include "calc/CalcTypes.h"

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tormel {

// One line section as the user would set it; an absent field keeps the window's
// start value for that line.
using LineRequest = LineTexts<std::optional<std::string>>;

// The protection device window's inputs; absent fields keep the window's start values.
// The device is judged ("Да" pressed) unless Accepted is false: then the texts are only set.
struct DeviceRequest
{
    std::optional<bool> Accepted;
    std::optional<bool> AV;
    std::optional<std::string> TokAVnom;
    std::optional<std::string> TokNR;
    std::optional<bool> TokNRChecked;
    std::optional<std::string> KZAV;
    std::optional<std::string> TypePP;
    std::optional<std::string> TokPP;
    std::optional<std::string> KZPP;
    std::optional<std::string> TimePP;
    std::optional<std::string> Icu; // the rated breaking capacity, kA
};

// One calculation object of the input document.
struct CalcRequest
{
    std::optional<std::string> Name;
    std::optional<std::string> WindKind;
    std::optional<std::string> TransPower;
    std::optional<std::string> RArc;
    // The inputs of the largest fault currents: the supply's short-circuit power, the
    // transformer's short-circuit voltage and load losses.
    std::optional<std::string> Sk;
    std::optional<std::string> Uk;
    std::optional<std::string> Pk;
    std::vector<LineRequest> Lines; // at most six, line 1 first
    std::optional<DeviceRequest> Device;
};

struct BatchInput
{
    std::vector<CalcRequest> Requests;
    bool IsArray = false; // the output mirrors the input's shape
};

// A document that breaks the contract: malformed JSON, an unknown field, a null,
// a value of the wrong type or more than six lines.
class InputError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// Parses the UTF-8 JSON document; throws InputError naming the field and the
// object's position.
BatchInput ParseBatchInput(const std::string &document);

// Supplies the next piece of a document into the buffer and returns its size; 0 at
// the end (a read error also ends the document, and its reader keeps the reason).
using ReadDocumentPiece = std::function<std::size_t(char *buffer, std::size_t size)>;

// Receives the calculation objects in order, each as soon as it has been read;
// InArray says whether the document is an array of them.
using CalcRequestHandler = std::function<void(CalcRequest &&request, bool inArray)>;

// Reads a document of any size holding one calculation object at a time, with the
// same results and errors as ParseBatchInput. A syntax error stops the reading at
// once; a contract error is thrown only at the end of a document that is otherwise
// well-formed (as ParseBatchInput reports it), and no object after it is handed on.
// Returns whether the document is an array. Whatever the handler throws goes through.
bool ReadBatchInput(const ReadDocumentPiece &read, const CalcRequestHandler &handle);

} // namespace tormel
