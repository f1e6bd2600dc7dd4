// Every text casttool itself shows: its help, its result lines and its own
// errors, in one place for the day it speaks another language too. The
// failures of castdata's operations come with castdata's own texts, which
// name the file and the reason.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace casttool::messages {

// --- Help ---------------------------------------------------------------

inline constexpr const char* kToolDescription =
    "casttool: the casts of Orvalis～Zenthar～ from the command line, read and written as the cast editor "
    "reads and writes them.";
inline constexpr const char* kToolFooter =
    "Exit status: 0 success; 1 the command ran and found a problem (a refused package or export, a cast with\n"
    "problems, a file that could not be rewritten, standard output that could not be written); 2 bad usage\n"
    "(an unknown command or option) or a file that cannot be read. Results go to standard output; every\n"
    "error and every refusal goes to standard error as one line that starts \"casttool: \".";
inline constexpr const char* kFolderOption =
    "Work in DIR, the game's installation folder, as the editor works in it (default: the current folder "
    "when it is a game folder, else the folder of casttool itself or the one above it). FILE arguments are "
    "taken inside DIR too, unless absolute; names inside it match in any letter case.";

inline constexpr const char* kHelpDescription = "Print the help of casttool, or of COMMAND: the same text as --help.";
inline constexpr const char* kHelpCommand = "The command whose help to print";

inline constexpr const char* kPackDescription = "Pack each FILE as the scrambling library's FilePack packs it.";
inline constexpr const char* kUnpackDescription = "Unpack each FILE as the scrambling library's FileUnpack unpacks it.";
inline constexpr const char* kPackFiles = "The files to pack";
inline constexpr const char* kUnpackFiles = "The files to unpack";
inline constexpr const char* kPackFooter =
    "Prints \"FILE: packed\", or \"FILE: already packed\" for a file that is packed already (a success too).\n"
    "A file that cannot be rewritten is reported as \"casttool: FILE: REASON\" and left as it was.\n"
    "Example: casttool -C ~/orv pack DAT/USER.DAT";
inline constexpr const char* kUnpackFooter =
    "Prints \"FILE: unpacked\", or \"FILE: already unpacked\" for a file that is not packed (a success too).\n"
    "A file that cannot be rewritten is reported as \"casttool: FILE: REASON\" and left as it was.\n"
    "Example: casttool -C ~/orv unpack DAT/USER.DAT";

inline constexpr const char* kWeaponsDescription =
    "The six weapon-slot lists exactly as the editor fills them, from \"DAT/USER.DAT\" and \"DAT/Orv_bwpn.DAT\" "
    "unscrambled in memory: the game's files are never written.";
inline constexpr const char* kWeaponsShop = "Shop mode: its weapon rules, and the shop list too";
inline constexpr const char* kWeaponsJson =
    "Print {\"playerNumber\": n, \"slots\": [[{\"number\": k, \"text\": ..., \"usable\": b}, ...] x 6], "
    "\"shop\": [{\"code\": n, \"text\": ...}, ...]}";
inline constexpr const char* kWeaponsFooter =
    "An unusable weapon stays in its list as \"N -------\", as in the editor.\n"
    "Example: casttool weapons --shop --json";

inline constexpr const char* kListDescription =
    "The casts of the folder \"cast\", sorted by name without regard to letter case (ties by the exact name), "
    "as the editor lists them: cast name, unit name, owner number, level, wins, losses, hidden-data flag.";
inline constexpr const char* kListJson =
    "Print an array of {\"name\", \"unitName\", \"ownerNumber\", \"level\", \"wins\", \"losses\", \"hidden\"}, "
    "one cast a line";
inline constexpr const char* kListFooter =
    "Text: a header line, then one cast a line, fields separated by a tab; a tab, CR, LF or backslash inside a\n"
    "field is written as \\t, \\r, \\n or \\\\. Wins and losses are those the editor shows (0 and 0 when the\n"
    "record check does not match). A cast whose files cannot be read is listed with \"error\" in place of the\n"
    "numbers, the error goes to standard error too, and the exit status is 1.\n"
    "Example: casttool -C ~/orv list --json";

inline constexpr const char* kShowDescription =
    "One cast: every field of its data file by its name, the six profile texts, the picture's length in bytes "
    "and whether it is a picture the upload takes (64 x 64, 256 colours).";
inline constexpr const char* kCastName = "The cast name (cast/NAME.cst)";
inline constexpr const char* kShowJson =
    "Print {\"name\", \"profile\": {\"Name\", \"Comm1\", ...}, \"record\": {every field}, \"pictureBytes\", "
    "\"pictureUploadable\", \"pictureProblem\"}";
inline constexpr const char* kShowFooter =
    "Hidden data (hideData 1) is the owner's wish that the editor not show the fighting setup to\n"
    "other players, not a secret the files keep: the editor loads every field, and show prints\n"
    "them all. endMark is never read from the file and shows 0.\nExample: casttool show ABC --json";

inline constexpr const char* kCheckDescription =
    "The save's checks applied to the files of cast NAME, with the game's weapon lists; each problem on its "
    "own line, exit status 1 when there is any.";
inline constexpr const char* kCheckShop = "Shop mode: its weapon rules, and no limit on the parameter pool";
inline constexpr const char* kCheckJson =
    "Print {\"name\": ..., \"problems\": [{\"file\": ..., \"field\": ..., \"text\": ...}, ...]}";
inline constexpr const char* kCheckFooter =
    "Checks: a unit name; a usable weapon in each slot; every slider value in its slider's range;\n"
    "paramValue matching the derived value of paramPoints; a parameter pool of at most 100\n"
    "(outside shop mode); weapon shares 0-3 and movement shares totalling at most 100; a record\n"
    "check matching wins and losses; a picture of 5174 bytes.\nExample: casttool check ABC --json";

inline constexpr const char* kImportDescription =
    "Import each cast package FILE.ec into the folder \"cast\", as the editor's start-up does, with its "
    "messages.";
inline constexpr const char* kImportFiles = "The cast packages (*.ec)";
inline constexpr const char* kImportFooter =
    "Prints \"FILE: ECファイルを展開しました\" for each package imported, which is then deleted; a refused\n"
    "package stays, and its refusal goes to standard error.\nExample: casttool -C ~/orv import ABC.ec";

inline constexpr const char* kExportDescription =
    "Write the cast package of cast NAME to OUT.ec, as the upload writes \"dat/upload.ec\"; - for OUT writes "
    "it to standard output.";
inline constexpr const char* kExportFile = "The package file to write, or - for standard output";
inline constexpr const char* kExportForce = "Replace OUT when it exists";
inline constexpr const char* kExportFooter =
    "An existing OUT is replaced only with --force, and never when it is one of the cast's own files. A cast\n"
    "name longer than 8 bytes in Shift-JIS (4 full-width characters) is refused, as the upload refuses it:\n"
    "the package would import under another name. A package left at the top of the game folder is imported\n"
    "at the editor's next start (except upload.ec).\n"
    "Example: casttool export ABC ABC.ec; casttool export ABC - | base64";

inline constexpr const char* kPictureDescription =
    "Make IMAGE, an image file of any common format (PNG, JPEG, BMP, GIF, WebP), the picture of cast NAME: "
    "cast/NAME.bmp, 64 x 64 with 256 colours (5174 bytes), as the upload needs it.";
inline constexpr const char* kPictureName = "The cast name (cast/NAME.bmp)";
inline constexpr const char* kPictureImage = "The image file";
inline constexpr const char* kPictureShop = "Shop mode: another player's cast may take a picture too";
inline constexpr const char* kPictureFooter =
    "The image is scaled to cover the square and cut at the centre; a picture already in the\n"
    "game's form is taken byte for byte. Exit status 1 when refused (another player's cast, a\n"
    "picture that cannot be written), 2 when IMAGE cannot be read or is no image.\n"
    "Example: casttool -C ~/orv picture ABC ~/drawing.png";

// --- Results ------------------------------------------------------------

inline constexpr std::string_view kStandardOutput = "-";  // OUT of export

std::string Packed(std::string_view file);            // "FILE: packed"
std::string Unpacked(std::string_view file);          // "FILE: unpacked"
std::string AlreadyPacked(std::string_view file);     // "FILE: already packed"
std::string AlreadyUnpacked(std::string_view file);   // "FILE: already unpacked"
std::string Written(std::string_view file);           // "FILE: written"
std::string NoProblems(std::string_view castName);    // "NAME: no problems"
// A message of the package import about `file`: "FILE: MESSAGE".
std::string AboutFile(std::string_view file, std::string_view message);
// The text of list's error field: "error: TEXT".
std::string ListedError(std::string_view text);

// --- Check's problems ---------------------------------------------------

inline constexpr const char* kNoUnitName = "no unit name";
inline constexpr const char* kNoWeapon = "no weapon selected (-1)";
std::string NotInWeaponList(int index, int slot, int listSize);
std::string UnusableWeapon(int weaponNumber);
std::string OutsideSliderRange(int value, int lowest, int highest);
std::string DerivedValueMismatch(int value, int parameter, int points, int derived);
std::string TotalAbove(int total, int budget);
std::string RecordCheckMismatch(int recordCheck, int wins, int losses, int computed);
inline constexpr const char* kPictureMissing = "missing";
std::string PictureSize(std::uintmax_t bytes, std::uintmax_t wanted);

// --- Errors -------------------------------------------------------------

// Every error line starts with it.
inline constexpr std::string_view kErrorPrefix = "casttool: ";

std::string UnknownCommand(std::string_view command);  // "unknown command 'NAME'"
inline constexpr const char* kUsageHint = " (run with --help for more information)";
// A file a command could not work on: "FILE: REASON".
std::string FileFailure(std::string_view file, std::string_view reason);
inline constexpr const char* kNotARegularFile = "通常のファイルではありません";
inline constexpr const char* kFileNotFound = "ファイルが見つかりません";
inline constexpr const char* kUnknownReason = "原因不明のエラーです";
std::string CannotWriteStandardOutput(std::string_view reason);
std::string NoGameFolder(const std::vector<std::string>& foldersTried);
std::string OutputExists(std::string_view out);
std::string OutputIsCastFile(std::string_view out, std::string_view castFile);
std::string NameTooLongForPackage(std::string_view castName);
// "NAME: 自分で作成したデータ以外、画像を変更できません"
std::string NotOwnCastPicture(std::string_view castName);

}  // namespace casttool::messages
