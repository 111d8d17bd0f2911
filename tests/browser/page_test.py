#!/usr/bin/python3
"""Drives the page of `veltrix --ui` in headless Chromium.

    page_test.py VELTRIX [--screenshot PNG]

Three runs of the server share one settings folder: the first reads a
settings file written by another tool, the second goes through the dialog
(enabling rules, derived names, Suppress, font IDs, chooser, decodes, View
Dest, Help, About, Close), the third checks that the settings survived and
that SIGTERM saves them. Listings made by the page are compared byte for byte
with the command line's. Exits 1 on the first failure.
"""

import http.client
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.parse

from selenium import webdriver
from selenium.common.exceptions import TimeoutException
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

REPO = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
EPOCH = "1700000000"

# The dialog's controls: id, label as shown, mnemonic ('' none).
CONTROLS = [
    (1104, "Force matching output filenames", "m"),
    (1100, "Source", "o"), (1101, "Dest", "e"),
    (1105, "Extract Widths", "x"), (1102, "Width", "w"),
    (1106, "Strip download fonts", "f"), (1103, "Stripped", "t"),
    (1004, "Extract download fonts", ""), (1002, "Extracted", ""),
    (1005, "Assign Font IDs, starting with :", ""), (1006, None, ""),
    (1007, "Place in Separate Files", ""),
    (1107, "Show Character Descriptors", "p"), (1108, "Show Font Raster Data", "r"),
    (1109, "Show Graphics Raster Data", "g"), (1008, "Contiguous", ""),
    (1110, "Suppress All Output (ERROR CHECK)", "a"), (1001, "Show 24-Bit Color Raster Values", ""),
    (1111, "Downloaded Fonts", ""), (1112, "Macros", ""), (1113, "Pages", ""),
    (1114, "Commands", ""), (1000, "Color Palettes", ""),
    (11003, "Source", "s"), (11001, "Decode", "d"), (111, "View Dest", ""),
    (11002, "Close", "c"), (11004, "Help", "h"), (1009, "About...", ""),
]
DETAIL_BOXES = [1107, 1108, 1109, 1008, 1001]

def check(condition, what):
    if not condition:
        print("FAIL: " + what)
        raise SystemExit(1)


SERVERS = []  # stopped at the end whatever happened


class Server:
    def __init__(self, program, home, args=()):
        env = dict(os.environ, VELTRIX_HOME=home, SOURCE_DATE_EPOCH=EPOCH)
        self.process = subprocess.Popen([program, "--ui", "--no-browser", *args], env=env,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        SERVERS.append(self.process)
        line = self.process.stdout.readline()
        check(line.startswith("Veltrix is at http://127.0.0.1:"), "the server prints its address: " + repr(line))
        self.url = line.split()[-1]
        parts = urllib.parse.urlsplit(self.url)
        self.port = parts.port
        self.token = urllib.parse.parse_qs(parts.query)["t"][0]

    def status(self, path, host=None, token_header=None):
        connection = http.client.HTTPConnection("127.0.0.1", self.port, timeout=5)
        headers = {"Host": host or "127.0.0.1:%d" % self.port}
        if token_header:
            headers["X-Veltrix-Token"] = token_header
        connection.request("GET", path, headers=headers)
        return connection.getresponse().status

    def wait(self):
        try:
            self.process.wait(timeout=15)
        except subprocess.TimeoutExpired:
            self.process.kill()
            check(False, "the server stops")
        return self.process.returncode


def browser():
    options = webdriver.ChromeOptions()
    for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                 "--disable-background-networking", "--disable-component-update", "--disable-sync",
                 "--window-size=1100,1000", "--user-data-dir=" + tempfile.mkdtemp(prefix="veltrix-chromium-")]:
        options.add_argument(flag)
    options.binary_location = shutil.which("chromium") or shutil.which("chromium-browser")
    service = webdriver.ChromeService(executable_path=shutil.which("chromedriver")) \
        if hasattr(webdriver, "ChromeService") else webdriver.chrome.service.Service(shutil.which("chromedriver"))
    return webdriver.Chrome(service=service, options=options)


def c(driver, control):
    return driver.find_element(By.ID, "c%d" % control)


def until(driver, condition, what, seconds=20):
    try:
        return WebDriverWait(driver, seconds, poll_frequency=0.05).until(lambda d: condition())
    except TimeoutException:
        check(False, what)


def set_text(driver, control, text):
    element = c(driver, control)
    element.clear()
    if text:
        element.send_keys(text)
    else:  # clear() sends no input event; derivation listens for one
        driver.execute_script("arguments[0].dispatchEvent(new Event('input'))", element)


def set_box(driver, control, on):
    if c(driver, control).is_selected() != on:
        c(driver, control).click()
    check(c(driver, control).is_selected() == on, "box %d can be set %s" % (control, on))


def fetch(driver, path, form=None):
    """A request from the page itself, with its token."""
    return driver.execute_async_script("""
        const [path, form, done] = arguments;
        const token = new URLSearchParams(location.search).get('t');
        const options = {headers: {'X-Veltrix-Token': token}};
        if (form) { options.method = 'POST'; options.body = new URLSearchParams(form); }
        fetch(path, options).then(async r => done({status: r.status, body: await r.json()}));
    """, path, form)


def read_ini(home):
    with open(os.path.join(home, "veltrix.ini"), encoding="latin-1") as f:
        return f.read()


def ini_value(text, key):
    for line in text.splitlines():
        if line.split("=", 1)[0].strip() == key:
            return line.split("=", 1)[1]
    return None


def command_line(program, home, source, dest, options):
    env = dict(os.environ, SOURCE_DATE_EPOCH=EPOCH, VELTRIX_HOME=home)
    subprocess.run([program, *options, "-o", dest, source], env=env, check=False,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    with open(dest, "rb") as f:
        return f.read()


def decode_from_page(driver):
    c(driver, 11001).click()
    until(driver, lambda: not c(driver, 11001).get_attribute("disabled"), "the decode ends", 60)
    status = driver.find_element(By.ID, "status").text
    check(status.startswith("Done:"), "the decode reports its outcome: " + status)
    return status


def first_run(driver, program, home, jobs):
    """Another tool's settings file: its values, the low-16-bit rule, the other sections."""
    with open(os.path.join(home, "veltrix.ini"), "w", encoding="latin-1") as f:
        f.write("; written by hand\n[PaperSizes]\n2=Letter by hand\n\n[Flags]\nForceMatch=1\nShowMacroSum=0\n"
                "Private=keep me\n\n[Values]\nFirstDFID=70000\n\n[Files]\nSourceFile=%s/Report.PCL\n"
                "DestFile=/elsewhere/hand-edited.txt\n\n[Typefaces]\n4099=Courier by hand\n" % jobs)
    server = Server(program, home)
    driver.get(server.url)
    until(driver, lambda: driver.find_elements(By.ID, "c1104"), "the dialog is built")
    check(c(driver, 1006).get_attribute("value") == "70000", "FirstDFID 70000 is read as 70000")
    check(c(driver, 1101).get_attribute("value") == jobs + "/report.txt",
          "ForceMatch replaces a hand-edited DestFile at load: " + c(driver, 1101).get_attribute("value"))
    check(not c(driver, 1112).is_selected() and c(driver, 1111).is_selected(), "the flags are read")
    c(driver, 11002).click()
    until(driver, lambda: "stopped" in driver.find_element(By.ID, "status").text, "Close answers")
    check(server.wait() == 0, "Close stops the server")
    text = read_ini(home)
    check(ini_value(text, "FirstDFID") == "4464", "70000 is written back as its low 16 bits: 4464")
    for kept in ["; written by hand", "[PaperSizes]", "2=Letter by hand", "Private=keep me",
                 "[Typefaces]", "4099=Courier by hand"]:
        check(kept in text.splitlines(), "saving keeps the line " + kept)
    check(ini_value(text, "DestFile") == jobs + "/report.txt", "the derived DestFile is saved")


def access_rules(server):
    page = "/?t=" + server.token
    check(server.status(page) == 200, "the printed address is served")
    check(server.status("/") == 403, "a request without the token gets 403")
    check(server.status("/?t=" + "0" * 32) == 403, "a request with another token gets 403")
    check(server.status("/api/state", token_header=server.token) == 200, "the token may come in a header")
    for host in ["localhost:%d" % server.port, "evil.example:%d" % server.port, "127.0.0.1:1", "127.0.0.1"]:
        check(server.status(page, host=host) == 403, "Host %s gets 403" % host)


def check_controls(driver):
    for control, label, key in CONTROLS:
        element = c(driver, control)
        check((element.get_attribute("accesskey") or "") == key, "control %d has mnemonic %r" % (control, key))
        if label is None:
            continue
        if element.tag_name == "button":
            shown = element.text
        else:
            shown = driver.find_element(By.CSS_SELECTOR, 'label[for="c%d"]' % control).text
        check(shown.strip() == label.strip(), "control %d is labelled %r, not %r" % (control, label, shown))
        if key:
            underlined = element if element.tag_name == "button" else \
                driver.find_element(By.CSS_SELECTOR, 'label[for="c%d"]' % control)
            check(underlined.find_element(By.TAG_NAME, "u").text.lower() == key,
                  "the mnemonic of %d is underlined" % control)
    check(c(driver, 111).get_attribute("disabled"), "View Dest starts disabled")


def enabled(driver, control):
    return not c(driver, control).get_attribute("disabled")


def enabling_rules(driver):
    set_box(driver, 1104, True)
    for name in [1101, 1102, 1103, 1002]:
        check(not enabled(driver, name), "name field %d is disabled under ForceMatch" % name)
    set_box(driver, 1104, False)
    check(enabled(driver, 1101), "Dest is enabled without ForceMatch")
    for box, field in [(1105, 1102), (1106, 1103), (1004, 1002)]:
        set_box(driver, box, False)
        check(not enabled(driver, field), "%d is disabled while %d is off" % (field, box))
        set_box(driver, box, True)
        check(enabled(driver, field), "%d is enabled once %d is on" % (field, box))
    for kept, assign, on in [(False, True, False), (True, False, False), (True, True, True)]:
        set_box(driver, 1004, kept)
        set_box(driver, 1005, assign)
        check(enabled(driver, 1006) == on and enabled(driver, 1007) == on,
              "1006 and 1007 enabled only with 1004 and 1005 (%s, %s)" % (kept, assign))
    for box in [1111, 1112, 1113, 1114, 1000]:
        check(enabled(driver, box), "summary box %d is always enabled" % box)


def derived_names(driver):
    set_box(driver, 1104, True)
    set_text(driver, 1100, "C:\\Jobs\\Report.PRN")
    wanted = {1101: "c:\\jobs\\report.txt", 1102: "c:\\jobs\\report.wid", 1103: "c:\\jobs\\report.stp",
              1002: "c:\\jobs\\report.fnt"}
    for field, name in wanted.items():
        check(c(driver, field).get_attribute("value") == name, "typing C:\\Jobs\\Report.PRN gives " + name)
    set_text(driver, 1100, "/tmp/Jobs.D/REPORT")
    for field, ext in [(1101, ".txt"), (1102, ".wid"), (1103, ".stp"), (1002, ".fnt")]:
        check(c(driver, field).get_attribute("value") == "/tmp/Jobs.D/report" + ext,
              "a source without extension gets " + ext)
    # Clicking ForceMatch on derives over names typed by hand.
    set_box(driver, 1104, False)
    set_text(driver, 1100, "/tmp/C.PCL")
    set_text(driver, 1101, "/x/hand.txt")
    c(driver, 1104).click()
    check(c(driver, 1101).get_attribute("value") == "/tmp/c.txt", "checking ForceMatch derives the names")
    # Clicking ForceMatch off derives too; the names can then be edited.
    set_text(driver, 1100, "/tmp/A.pcl")
    c(driver, 1104).click()
    check(c(driver, 1101).get_attribute("value") == "/tmp/a.txt", "clearing ForceMatch derives once more")
    set_text(driver, 1100, "/tmp/B.pcl")
    check(c(driver, 1101).get_attribute("value") == "/tmp/a.txt", "without ForceMatch the names stay")


def suppress_restores(driver):
    for box, on in zip(DETAIL_BOXES, [True, False, True, False, True]):
        set_box(driver, box, on)
    c(driver, 1110).click()
    for box in DETAIL_BOXES:
        check(not c(driver, box).is_selected() and not enabled(driver, box),
              "box %d shows unchecked and disabled under Suppress" % box)
    c(driver, 1110).click()
    for box, on in zip(DETAIL_BOXES, [True, False, True, False, True]):
        check(c(driver, box).is_selected() == on and enabled(driver, box), "clearing Suppress restores %d" % box)
    for box in DETAIL_BOXES:
        set_box(driver, box, False)


def chooser(driver, jobs):
    set_text(driver, 1100, jobs + "/sample.pcl")
    c(driver, 11003).click()
    until(driver, lambda: driver.find_element(By.ID, "chooser").get_attribute("open") is not None, "chooser opens")
    until(driver, lambda: driver.find_element(By.ID, "chooser-dir").text == jobs, "it opens in the source's folder")
    names = lambda: [o.get_attribute("value") for o in
                     driver.find_elements(By.CSS_SELECTOR, "#chooser-entries option")]
    check("sample.pcl" in names() and "UPPER.SFP" in names() and "photo.pxl" not in names(),
          "the PCL filter shows *.pcl, *.sfp, *.sfs in any case, and no other files: %s" % names())
    check("sub" in names(), "folders are shown")
    driver.execute_script("const f = document.getElementById('chooser-filter'); f.value = '1';"
                          "f.dispatchEvent(new Event('change'));")
    until(driver, lambda: "photo.pxl" in names(), "All Files shows every file")
    name = driver.find_element(By.ID, "chooser-name")
    name.clear()
    name.send_keys("missing.pcl")
    driver.find_element(By.ID, "chooser-ok").click()
    until(driver, lambda: driver.find_element(By.ID, "chooser-message").text, "a missing file is refused")
    name.clear()
    name.send_keys("photo.pxl")
    driver.find_element(By.ID, "chooser-ok").click()
    until(driver, lambda: driver.find_element(By.ID, "chooser").get_attribute("open") is None, "OK closes it")
    check(c(driver, 1100).get_attribute("value") == jobs + "/photo.pxl", "the chosen file goes into Source")


def compare_decodes(driver, program, home, jobs, out):
    """The page's listing is the command line's, byte for byte (the same
    settings folder, so the same name tables)."""
    set_box(driver, 1104, False)
    for box in [1105, 1106, 1004, 1005]:
        set_box(driver, box, False)
    for box in [1111, 1112, 1113, 1114, 1000]:
        set_box(driver, box, True)
    cases = [
        ("sample.pcl", [], []),
        ("photo.pxl", [1109, 1108], ["--raster", "--font-raster"]),
        ("drawing.pcl", [1110], ["--exceptions-only"]),
        ("sample.pcl", [1114, 1113], ["--no-command-summary", "--no-page-summary"]),
    ]
    for job, boxes, options in cases:
        for box in boxes:
            c(driver, box).click()
        source = os.path.join(jobs, job)
        dest = os.path.join(out, "listing.txt")
        expected = command_line(program, home, source, dest, options)
        os.rename(dest, os.path.join(out, "cli.txt"))
        set_text(driver, 1100, source)
        set_text(driver, 1101, dest)
        decode_from_page(driver)
        with open(dest, "rb") as f:
            check(f.read() == expected, "the page's listing of %s %s equals the command line's" % (job, options))
        for box in boxes:
            c(driver, box).click()


def font_ids(driver, home, jobs, out):
    set_box(driver, 1004, True)
    set_box(driver, 1005, True)
    set_text(driver, 1002, os.path.join(out, "fonts.fnt"))
    set_text(driver, 1006, "12abc")
    set_text(driver, 1100, os.path.join(jobs, "sample.pcl"))
    set_text(driver, 1101, os.path.join(out, "fonts.txt"))
    decode_from_page(driver)
    state = fetch(driver, "/api/state")["body"]
    check(state["settings"]["FirstDFID"] == "0", "1006 holding letters stores 0 at Decode")
    set_text(driver, 1006, " --12 ")
    decode_from_page(driver)
    check(fetch(driver, "/api/state")["body"]["settings"]["FirstDFID"] == "12", "' --12 ' stores 12")
    set_text(driver, 1006, "-5")
    decode_from_page(driver)
    check(fetch(driver, "/api/state")["body"]["settings"]["FirstDFID"] == "0", "-5 stores 0")
    # A side file without a name is switched off at Decode, in the settings too.
    set_box(driver, 1105, True)
    set_text(driver, 1102, "")
    decode_from_page(driver)
    check(not c(driver, 1105).is_selected(), "Extract Widths with no Width name is switched off")
    set_box(driver, 1004, False)
    set_box(driver, 1005, False)


def wildcard_dest(driver, jobs, out):
    """A source and a Dest with '*': one listing per job, and no file of the
    literal Dest name, so View Dest stays disabled."""
    set_text(driver, 1100, jobs + "/*.pcl")
    set_text(driver, 1101, out + "/*.lst")
    decode_from_page(driver)
    check(os.path.exists(os.path.join(out, "sample.lst")) and os.path.exists(os.path.join(out, "drawing.lst")),
          "each matching job gets its listing")
    check(c(driver, 111).get_attribute("disabled"), "View Dest stays disabled after a Dest with '*'")


def busy_decode(driver, jobs, out):
    """A long decode: progress in bytes, the page answers, a second Decode is refused."""
    big = os.path.join(out, "big.pcl")
    with open(os.path.join(jobs, "sample.pcl"), "rb") as f:
        job = f.read()
    with open(big, "wb") as f:
        f.write(job * 150000)
    set_text(driver, 1100, big)
    set_text(driver, 1101, os.path.join(out, "big.txt"))
    c(driver, 11001).click()
    total = "of %.1f MB read" % (os.path.getsize(big) / 1e6)
    until(driver, lambda: total in driver.find_element(By.ID, "progress-text").text,
          "the page shows bytes read " + total, 10)
    second = fetch(driver, "/api/decode", {"c1100": big})
    check(second["status"] == 409 and "already running" in second["body"]["message"],
          "a second Decode while one runs is refused with a message: %s" % second)
    check(fetch(driver, "/api/state")["status"] == 200, "the server answers during a decode")
    check(c(driver, 11001).get_attribute("disabled") and c(driver, 111).get_attribute("disabled"),
          "Decode and View Dest are disabled during a decode")
    until(driver, lambda: not c(driver, 11001).get_attribute("disabled"), "the long decode ends", 90)
    return os.path.join(out, "big.txt")


def view_dest(driver, listing):
    check(enabled(driver, 111), "View Dest is enabled after a decode that wrote Dest")
    c(driver, 111).click()
    until(driver, lambda: driver.find_element(By.ID, "viewer").is_displayed(), "View Dest shows the listing")
    check(not enabled(driver, 111), "View Dest is disabled once the listing is shown")
    lines = driver.find_elements(By.CSS_SELECTOR, "#view-lines div")
    check(0 < len(lines) <= 500, "one page of lines is shown, not the whole listing (%d)" % len(lines))
    with open(listing, "rb") as f:
        first = f.read(4096).decode("latin-1").split("\n")[:3]
    shown = [l.get_attribute("textContent").replace("\u200b", "") for l in lines[:3]]
    check(shown == first, "the first lines are the listing's: %s %s" % (shown, first))
    c_next = driver.find_element(By.ID, "view-next")
    c_next.click()
    until(driver, lambda: driver.find_elements(By.CSS_SELECTOR, "#view-lines div.problem.current"),
          "Next problem goes to a highlighted problem line")
    first_problem = driver.find_element(By.CSS_SELECTOR, "#view-lines div.current").text
    check("***" in first_problem or "*ERROR*" in first_problem, "the line is a problem line: " + first_problem)
    where = driver.find_element(By.ID, "view-where").text
    c_next.click()
    until(driver, lambda: driver.find_element(By.ID, "view-where").text != where, "Next goes on to the next one")
    driver.find_element(By.ID, "view-prev").click()
    until(driver, lambda: driver.find_element(By.ID, "view-where").text == where, "Previous goes back")
    driver.find_element(By.ID, "view-end").click()
    until(driver, lambda: driver.find_element(By.ID, "view-down").get_attribute("disabled"), "End reaches the end")
    size = os.path.getsize(listing)
    check(driver.find_element(By.ID, "view-where").text.endswith("of %d" % size), "the last page ends the file")


def help_and_about(driver):
    c(driver, 1009).click()
    about = driver.find_element(By.ID, "about")
    until(driver, lambda: about.get_attribute("open") is not None, "About opens")
    check(driver.find_element(By.ID, "about-title").text == "About Veltrix", "the about title")
    check(driver.find_element(By.ID, "about-1011").text == "Veltrix Version 8.70", "the about version line")
    driver.find_element(By.ID, "about-ok").click()
    main = driver.current_window_handle
    c(driver, 11004).click()
    until(driver, lambda: len(driver.window_handles) == 2, "Help opens a page")
    driver.switch_to.window([h for h in driver.window_handles if h != main][0])
    until(driver, lambda: "Veltrix" in driver.title, "the help page loads")
    text = driver.find_element(By.TAG_NAME, "body").text
    for _, label, _ in CONTROLS:
        if label:
            check(label.rstrip(" :") in text, "help describes " + label)
    for option in ["--exceptions-only", "--raster", "--widths", "--first-font-id", "--no-palette-summary"]:
        check(option in text, "help names " + option)
    driver.close()
    driver.switch_to.window(main)


def second_run(driver, program, home, jobs, out, screenshot):
    server = Server(program, home)
    access_rules(server)
    driver.get(server.url)
    until(driver, lambda: driver.find_elements(By.ID, "c1104"), "the dialog is built")
    check_controls(driver)
    enabling_rules(driver)
    derived_names(driver)
    suppress_restores(driver)
    chooser(driver, jobs)
    compare_decodes(driver, program, home, jobs, out)
    font_ids(driver, home, jobs, out)
    wildcard_dest(driver, jobs, out)
    listing = busy_decode(driver, jobs, out)
    view_dest(driver, listing)
    help_and_about(driver)
    # The listing of a job with problems, for the picture.
    set_text(driver, 1100, os.path.join(jobs, "sample.pcl"))
    set_text(driver, 1101, os.path.join(out, "sample.txt"))
    decode_from_page(driver)
    c(driver, 111).click()
    until(driver, lambda: driver.find_element(By.ID, "viewer").is_displayed(), "View Dest shows the listing")
    driver.find_element(By.ID, "view-next").click()
    until(driver, lambda: driver.find_elements(By.CSS_SELECTOR, "#view-lines div.current"), "a problem line")
    if screenshot:
        driver.execute_script("document.getElementById('view-top').click()")
        time.sleep(0.3)
        height = driver.execute_script("return document.body.scrollHeight")
        driver.set_window_size(1100, max(900, min(height + 40, 1600)))
        driver.save_screenshot(screenshot)
    # Settings for the next run: Suppress on over a detail box that is on.
    set_box(driver, 1107, True)
    c(driver, 1110).click()
    set_box(driver, 1104, True)
    set_text(driver, 1100, jobs + "/Next.PCL")
    c(driver, 11002).click()
    until(driver, lambda: "stopped" in driver.find_element(By.ID, "status").text, "Close answers")
    check(server.wait() == 0, "Close stops the server")
    text = read_ini(home)
    for key, value in [("SuppAllOutput", "1"), ("ShowCharDesc", "1"), ("ForceMatch", "1"),
                       ("SourceFile", jobs + "/Next.PCL"), ("DestFile", jobs + "/next.txt"),
                       ("ExtractWidths", "0"), ("FirstDFID", "0")]:
        check(ini_value(text, key) == value, "Close saved %s=%s (%s)" % (key, value, ini_value(text, key)))
    check("2=Letter by hand" in text and "4099=Courier by hand" in text, "the tables sections are kept")


def third_run(driver, program, home, jobs):
    server = Server(program, home, [os.path.join(jobs, "sample.pcl")])
    driver.get(server.url)
    until(driver, lambda: driver.find_elements(By.ID, "c1104"), "the dialog is built")
    check(c(driver, 1100).get_attribute("value") == os.path.join(jobs, "sample.pcl"),
          "a source named on the command line goes into Source")
    check(c(driver, 1101).get_attribute("value") == os.path.join(jobs, "sample.txt"), "and Dest follows it")
    check(c(driver, 1110).is_selected() and not c(driver, 1107).is_selected(), "Suppress survived the restart")
    c(driver, 1110).click()
    check(c(driver, 1107).is_selected(), "clearing Suppress after a restart restores Show Character Descriptors")
    c(driver, 1112).click()  # a flag changes at once, and SIGTERM saves it
    time.sleep(0.3)
    server.process.send_signal(signal.SIGTERM)
    check(server.wait() == 0, "SIGTERM stops the server")
    text = read_ini(home)
    check(ini_value(text, "SuppAllOutput") == "0" and ini_value(text, "ShowMacroSum") == "0",
          "SIGTERM saved the settings")
    check(ini_value(text, "SourceFile") == os.path.join(jobs, "sample.pcl"), "the source from the command line")
    # A settings file that cannot be read: a message, the defaults, and the file left alone.
    broken = "[Flags\nShowFontSum=0\n[Symsets]\n277=mine\n"
    with open(os.path.join(home, "veltrix.ini"), "w") as f:
        f.write(broken)
    server = Server(program, home)
    driver.get(server.url)
    until(driver, lambda: driver.find_elements(By.ID, "c1104"), "the dialog is built")
    check(c(driver, 1111).is_selected() and c(driver, 1104).is_selected(), "a broken file gives the defaults")
    server.process.send_signal(signal.SIGINT)
    code = server.wait()
    err = server.process.stderr.read()
    check("cannot read the settings file" in err and "not saved" in err, "the user is told: " + err)
    check(code == 1, "a save that was refused is a failure")
    check(read_ini(home) == broken, "a broken settings file is never overwritten")


def main():
    program = os.path.abspath(sys.argv[1])
    screenshot = sys.argv[3] if len(sys.argv) > 3 and sys.argv[2] == "--screenshot" else None
    started = time.time()
    work = tempfile.mkdtemp(prefix="veltrix-browser-")
    home, jobs, out = (os.path.join(work, n) for n in ["home", "jobs", "out"])
    for d in [home, jobs, out, os.path.join(jobs, "sub")]:
        os.makedirs(d)
    shutil.copy(os.path.join(REPO, "examples/sample.pcl"), os.path.join(jobs, "sample.pcl"))
    shutil.copy(os.path.join(REPO, "tests/pclxl/data/pxlmono-photo-deltarow.pxl"), os.path.join(jobs, "photo.pxl"))
    shutil.copy(os.path.join(REPO, "tests/realjobs/data/pstoedit-pcl-drawing.pcl"), os.path.join(jobs, "drawing.pcl"))
    shutil.copy(os.path.join(REPO, "tests/realjobs/data/ljet4-page1.pcl"), os.path.join(jobs, "UPPER.SFP"))
    driver = browser()
    try:
        first_run(driver, program, home, jobs)
        second_run(driver, program, home, jobs, out, screenshot)
        third_run(driver, program, home, jobs)
    finally:
        driver.quit()
        for process in SERVERS:
            if process.poll() is None:
                process.kill()
                process.wait()
        if not os.environ.get("VELTRIX_KEEP"): shutil.rmtree(work, ignore_errors=True)
        else: print("kept " + work)
    print("browser tests passed in %.1f s" % (time.time() - started))


if __name__ == "__main__":
    main()
