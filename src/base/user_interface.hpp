#pragma once
// The one small interface through which core code reaches the user: message
// boxes, file choosers and the two progress lines. The window, the headless
// console and the tests' scripted fake implement it; core code never knows which.
#include <optional>
#include <string>
#include <vector>
#include <string_view>

namespace trelvik {

enum class MessageKind { Error, Information, Warning };
enum class QuestionKind { OkCancel, YesNo, YesNoCancel };
// Values as the classic dialog results, so they can be stored and compared as numbers.
enum class Answer { Ok = 1, Cancel = 2, Yes = 6, No = 7 };
enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::Open;
  std::string title;
  std::string typeName;   // "IGC file"
  std::string extension;  // ".igc", with the dot
  std::string folder;     // where the chooser starts
  std::string fileName;   // the name proposed to the user (save only); may be empty
};

class UserInterface {
 public:
  virtual ~UserInterface() = default;
  virtual void ShowMessage(MessageKind kind, std::string_view text, std::string_view caption) = 0;
  virtual Answer Ask(QuestionKind kind, std::string_view text, std::string_view caption) = 0;
  // The name the user picked, or nothing when the user cancelled.
  virtual std::optional<std::string> ChooseFile(const FileDialogRequest& request) = 0;
  // A dialog that offers several file types, one entry of `filters` each:
  // `entry` is the 1-based entry it starts on and, after a choice, the entry
  // the user chose. The default offers `request`'s one type and keeps `entry`.
  virtual std::optional<std::string> ChooseFileOfType(const FileDialogRequest& request,
                                                      const std::vector<std::string>& filters, size_t& entry) {
    (void)filters;
    (void)entry;
    return ChooseFile(request);
  }
  virtual void SetStatus(std::string_view text) = 0;
  virtual void SetProduct(std::string_view text) = 0;
};

}  // namespace trelvik
