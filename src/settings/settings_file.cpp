#include "settings/settings_file.hpp"

namespace trelvik {

std::vector<SettingsFileLine> SplitSettingsLines(std::string_view bytes) {
  std::vector<SettingsFileLine> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    const size_t feed = bytes.find('\n', start);
    const size_t stop = feed == std::string_view::npos ? bytes.size() : feed + 1;
    size_t end = feed == std::string_view::npos ? bytes.size() : feed;
    if (end > start && bytes[end - 1] == '\r') --end;
    lines.push_back({std::string(bytes.substr(start, end - start)), std::string(bytes.substr(end, stop - end))});
    start = stop;
  }
  return lines;
}

std::string JoinSettingsLines(const std::vector<SettingsFileLine>& lines) {
  std::string bytes;
  for (const SettingsFileLine& line : lines) bytes += line.text + line.ending;
  return bytes;
}

std::optional<NameAndValue> SplitSettingLine(std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return NameAndValue{line.substr(0, equals), line.substr(equals + 1)};
}

void PutSettingLine(std::vector<SettingsFileLine>& lines, std::string_view name, std::string_view value) {
  std::string text = std::string(name) + "=" + std::string(value);
  for (size_t i = name.size() + 1; i < text.size(); ++i) {
    if (text[i] == '\n' || text[i] == '\r') text[i] = ' ';
  }
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    const std::optional<NameAndValue> parts = SplitSettingLine(line->text);
    if (parts && parts->name == name) {
      line->text = std::move(text);
      return;
    }
  }
  // New lines follow the file's own line end, so a file kept with CR LF stays so.
  const auto endsLine = [](const SettingsFileLine& line) { return line.ending.find('\n') != std::string::npos; };
  const std::string ending = !lines.empty() && endsLine(lines.front()) ? lines.front().ending : "\n";
  if (!lines.empty() && !endsLine(lines.back())) lines.back().ending = ending;
  lines.push_back({std::move(text), ending});
}

}  // namespace trelvik
