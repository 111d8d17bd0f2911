#include "frontend/web/HelpPage.h"

#include "decode/ReportHeader.h"
#include "frontend/OptionTable.h"
#include "frontend/web/DialogControls.h"

namespace veltrix {

namespace {

std::string ControlHelp(const DialogControl& control) {
  std::string label = PlainLabel(control.label);
  while (!label.empty() && (label.back() == ' ' || label.back() == ':')) label.pop_back();
  if (label.empty()) label = "(the number beside Assign Font IDs)";
  std::string html = "<dt>" + HtmlEscape(label);
  if (const char key = Mnemonic(control.label)) html += " <kbd>Alt+" + std::string(1, static_cast<char>(key - 32)) + "</kbd>";
  html += "</dt><dd>" + HtmlEscape(control.help);
  if (control.option.starts_with("--no-")) {
    html += " On the command line it is on unless <code>" + HtmlEscape(control.option) + "</code> is given.";
  } else if (control.option.starts_with("--")) {
    html += " On the command line: <code>" + HtmlEscape(control.option) + "</code>.";
  }
  return html + "</dd>\n";
}

}  // namespace

std::string HtmlEscape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string HelpPageHtml(std::string_view settingsPath, std::string_view token) {
  std::string html =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><title>Veltrix Help</title>"
      "<link rel=\"stylesheet\" href=\"/style.css?t=" + HtmlEscape(token) + "\"></head>\n<body class=\"help\">\n"
      "<h1>Veltrix " + std::string(kProgramVersionText) + " Help</h1>\n"
      "<p>Veltrix lists every command of a printer job (PCL 5 with HP-GL/2, PCL XL, PJL) with its parameters "
      "and data, followed by summaries. Lines that report a problem start with <code>***</code> (PCL 5) or "
      "hold <code>*ERROR*</code> (PCL XL).</p>\n"
      "<p>This page is served by the program itself on this computer only; its address holds a key that "
      "no other page knows. Close the page with <b>Close</b>, so that the settings are saved.</p>\n";
  std::string_view group;
  for (const DialogControl& control : DialogControls()) {
    if (control.group != group) {
      if (!group.empty()) html += "</dl>\n";
      group = control.group;
      html += "<h2>" + HtmlEscape(group == "Buttons" ? "Commands" : group) + "</h2>\n<dl>\n";
    }
    html += ControlHelp(control);
  }
  html += "</dl>\n<h2>Settings</h2>\n<p>The settings are read from <code>" + HtmlEscape(settingsPath) +
          "</code> when the program starts and written there at Close and when the program is stopped. "
          "The same file may hold sections <code>[PaperSizes]</code>, <code>[Symsets]</code> and "
          "<code>[Typefaces]</code> of <code>number = name</code> lines, which add to or rename the "
          "built-in names; saving the settings keeps them, and every other line, as they are.</p>\n"
          "<h2>The command line</h2>\n<p><code>veltrix [OPTIONS] SOURCE...</code> decodes without the page; "
          "<code>veltrix --ui [--port N] [--no-browser] [SOURCE]</code> starts this page.</p>\n<dl>\n";
  for (const OptionRecord& option : DecodeOptionRecords()) {
    std::string name = "--" + std::string(option.longName);
    if (option.shortName != 0) name = std::string("-") + option.shortName + ", " + name;
    if (!option.valueName.empty()) name += " " + std::string(option.valueName);
    html += "<dt><code>" + HtmlEscape(name) + "</code></dt><dd>" + HtmlEscape(option.help) + "</dd>\n";
  }
  return html + "</dl>\n</body></html>\n";
}

}  // namespace veltrix
