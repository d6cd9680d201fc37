"""The report engine's files read by independent tools: PDF (qpdf, pdftotext, pdffonts,
pdftoppm), HTML (html.parser), RTF (unrtf; LibreOffice where installed). The Windows program
report_probe runs the print runs; pictures of a list page, card pages, the options dialog, the
designer and the preview window go to build/shots/report/."""

import base64
import os
import re
import shutil
import subprocess
import sys
import tempfile
from html.parser import HTMLParser

import oxtest
from oxtest import check, check_list, fail, winpath

LIST_PROJECT = """VLRP11 project 1
; appointment list, 50 rows a page
type = list
font = 7 12
rows = 50
header = "Terminliste"
header = "Benutzer: " + Aktueller Benutzer
column = Beginn | Beginn | 28 | left
column = Betreff | Betreff | 45 | left
column = Ort | Ort | 35 | left
column = Mit | Mit | 30 | left
column = Erinnerung | Erinnerung | 22 | center
footer = "Seite " + Seite
"""

CARD_PROJECT = """VLRP11 project 1
type = card
header = "Termin-Karteikarten"
line = Betreff | Betreff
line = Beginn | Beginn
line = Ende | Ende
line = Ort | Ort
line = Mit | Mit
line = Erinnerung | Erinnerung + " " + Symbole.Erinnerung
line = Notizen | Notizen.unformatiert
footer = "Seite " + Seite
"""

SUBJECTS = ["Termin %03d" % i for i in range(1, 121)]
HEADINGS = ["Beginn", "Betreff", "Ort", "Mit", "Erinnerung"]


def tool(*args, encoding="utf-8"):
    done = subprocess.run(list(args), stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    return done.returncode, done.stdout.decode(encoding, "replace")


def probe(*args):
    return oxtest.run("report_probe", *args)


def in_order(what, text, names):
    """Every name once, in the given order."""
    at = 0
    for name in names:
        count = len(re.findall(re.escape(name) + r"(?!\d)", text))
        if count != 1:
            fail("%s: %r appears %d times" % (what, name, count))
            return
        found = text.find(name, at)
        if found < 0:
            fail("%s: %r not after the one before it" % (what, name))
            return
        at = found
    check(what + ": all in order", True, True)


def picture(pdf, page, name, shots):
    base = os.path.join(shots, name)
    code, out = tool("pdftoppm", "-png", "-r", "70", "-f", str(page), "-l", str(page), "-singlefile", pdf, base)
    check("pdftoppm " + name, 0, code)


def pdf_checks(work, shots):
    project = os.path.join(work, "liste.ltd")
    out = os.path.join(work, "liste.pdf")
    open(project, "wb").write(LIST_PROJECT.encode("cp1252"))
    report = probe("list", "pdf", winpath(project), winpath(out), 120)
    check("list: rows that met a full page", "pagefull 2 cards 0", report.splitlines()[1])
    code, out_check = tool("qpdf", "--check", out)
    check("qpdf --check", 0, code)
    code, pages = tool("qpdf", "--show-npages", out)
    check("pages", "3", pages.strip())
    code, info = tool("pdfinfo", out)
    check("PDF title", True, re.search(r"^Title:\s+Terminliste ausgeben$", info, re.M) is not None)
    code, fonts = tool("pdffonts", out)
    for font in ("Helvetica ", "Helvetica-Bold", "ZapfDingbats"):
        check("font " + font, True, font in fonts)
    check("WinAnsi encoding", True, "WinAnsi" in fonts)
    code, text = tool("pdftotext", "-enc", "UTF-8", out, "-")
    check("pdftotext", 0, code)
    for word in ("Terminliste", "Betreff", "Müller", "Größe", "Büro", "Seite 1", "Seite 3", "07.05.2024 09:00"):
        check("PDF shows " + word, True, word in text)
    in_order("PDF subjects", text, SUBJECTS)
    code, second = tool("pdftotext", "-enc", "UTF-8", "-f", "2", "-l", "2", out, "-")
    first_subject = re.search(r"Termin \d{3}", second)
    check("the row that met the full page opens page 2", "Termin 051", first_subject.group(0) if first_subject else None)
    check("page 2 ends with row 100", ["Termin %03d" % i for i in range(51, 101)], re.findall(r"Termin \d{3}", second))
    picture(out, 1, "list-page1", shots)

    # 10 rows with dates written with a decimal comma print the same dates.
    comma = os.path.join(work, "komma.pdf")
    probe("list", "pdf", winpath(project), winpath(comma), 10, "comma")
    code, text = tool("pdftotext", "-enc", "UTF-8", comma, "-")
    check("comma dates", ["%02d.05.2024 09:00" % d for d in range(7, 17)], re.findall(r"\d\d\.05\.2024 09:00", text))
    return project


class Tables(HTMLParser):
    def __init__(self):
        super().__init__()
        self.tables = 0
        self.headings = []
        self.rows = []
        self.cell = None
        self.charset = None
        self.in_body = False

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "meta" and "charset" in attrs:
            self.charset = attrs["charset"]
        elif tag == "table":
            self.tables += 1
        elif tag == "tbody":
            self.in_body = True
        elif tag == "tr" and self.in_body:
            self.rows.append([])
        elif tag in ("td", "th"):
            self.cell = ""

    def handle_endtag(self, tag):
        if tag == "th":
            self.headings.append(self.cell)
            self.cell = None
        elif tag == "td":
            self.rows[-1].append(self.cell)
            self.cell = None

    def handle_data(self, data):
        if self.cell is not None:
            self.cell += data


def html_checks(work, project):
    out = os.path.join(work, "liste.html")
    probe("list", "html", winpath(project), winpath(out), 120)
    raw = open(out, "rb").read()
    parser = Tables()
    parser.feed(raw.decode("utf-8"))
    check("HTML charset", "utf-8", parser.charset)
    check("HTML tables", 1, parser.tables)
    check("HTML headings", HEADINGS, parser.headings)
    check("HTML rows", 120, len(parser.rows))
    check_list("HTML subjects", SUBJECTS, [row[1] for row in parser.rows])
    check("HTML umlauts", ["Raum Größe", "Büro"], [parser.rows[0][2], parser.rows[1][2]])
    check("HTML with-text", "Müller", parser.rows[0][3])
    check("HTML date", "07.05.2024 09:00", parser.rows[0][0])
    check("HTML check mark", ["", "", "\u2713"], [row[4] for row in parser.rows[:3]])


def rtf_checks(work, project):
    out = os.path.join(work, "liste.rtf")
    probe("list", "rtf", winpath(project), winpath(out), 120)
    raw = open(out, "rb").read()
    check("RTF header", True, raw.startswith(b"{\\rtf1\\ansi\\ansicpg1252"))
    # unrtf writes the file's own code page.
    code, text = tool("unrtf", "--text", out, encoding="cp1252")
    check("unrtf", 0, code)
    for word in HEADINGS + ["Müller", "Größe", "Terminliste"]:
        check("RTF shows " + word, True, word in text)
    in_order("RTF subjects", text, SUBJECTS)
    office = shutil.which("soffice") or shutil.which("libreoffice")
    if office:
        code, _ = tool(office, "--headless", "--convert-to", "txt:Text (encoded):UTF8", "--outdir", work, out)
        converted = os.path.join(work, "liste.txt")
        check("LibreOffice reads the RTF", True, code == 0 and os.path.exists(converted))
        if os.path.exists(converted):
            in_order("LibreOffice subjects", open(converted, encoding="utf-8-sig").read(), SUBJECTS)
    else:
        print("LibreOffice is not installed: the RTF is read by unrtf only")


def card_checks(work, shots):
    project = os.path.join(work, "karte.ctd")
    open(project, "wb").write(CARD_PROJECT.encode("cp1252"))
    out = os.path.join(work, "karten.pdf")
    report = probe("cards", "pdf", winpath(project), winpath(out), 3, 4)
    check("cards: copies read back", "copies 3 engine 1", report.splitlines()[2])
    code, _ = tool("qpdf", "--check", out)
    check("cards: qpdf --check", 0, code)
    code, text = tool("pdftotext", "-layout", "-enc", "UTF-8", out, "-")
    for i in range(1, 5):
        check("card %d three times" % i, 3, text.count("Notiz zu Termin %03d" % i))
    check("cards: order", sorted(re.findall(r"Notiz zu Termin \d{3}", text)), re.findall(r"Notiz zu Termin \d{3}", text))
    picture(out, 1, "cards-page1", shots)
    code, images = tool("pdfimages", "-list", out)
    rows = [line.split() for line in images.splitlines()[2:] if line.strip()]
    check("cards: the symbol is one picture with its transparency", [("16", "16", "image"), ("16", "16", "smask")],
          [(r[3], r[4], r[2]) for r in rows][:2])
    html = os.path.join(work, "karten.html")
    probe("cards", "html", winpath(project), winpath(html), 1, 2)
    text = open(html, encoding="utf-8").read()
    found = re.findall(r'src="data:image/png;base64,([A-Za-z0-9+/=]+)"', text)
    check("HTML cards: the symbol as an image on each card", 2, len(found))
    if found:
        png = base64.b64decode(found[0])
        check("HTML symbol is a 16 x 16 PNG", (b"\x89PNG\r\n\x1a\n", 16, 16),
              (png[:8], int.from_bytes(png[16:20], "big"), int.from_bytes(png[20:24], "big")))
    rtf = os.path.join(work, "karten.rtf")
    probe("cards", "rtf", winpath(project), winpath(rtf), 1, 2)
    check("RTF cards: the symbol as a picture", 2, open(rtf, "rb").read().count(b"{\\pict\\pngblip\\picw16\\pich16"))

    long_pdf = os.path.join(work, "lang.pdf")
    report = probe("cards", "pdf", winpath(project), winpath(long_pdf), 1, 2, 300)
    code, _ = tool("qpdf", "--check", long_pdf)
    check("long card: qpdf --check", 0, code)
    code, pages = tool("qpdf", "--show-npages", long_pdf)
    check("long card spans pages", True, int(pages.strip()) >= 4)
    code, text = tool("pdftotext", "-layout", "-enc", "UTF-8", long_pdf, "-")
    lines = re.findall(r"Notizzeile (\d+)", text)
    check_list("long card: every note line once, in order", [str(i) for i in range(1, 301)], lines)
    picture(long_pdf, 2, "cards-long-page2", shots)


def preview_shot(work, shots, project):
    bmp = os.path.join(work, "preview.bmp")
    report = probe("list", "prv", winpath(project), winpath(bmp), 120)
    check("preview run", "result 0 step 0", report.splitlines()[0])
    code, out = tool("convert", bmp, os.path.join(shots, "preview.png"))
    check("preview picture", 0, code)


def dialog_shot(work, shots):
    for command, name in (("shot", "options-dialog"), ("design", "designer")):
        bmp = os.path.join(work, name + ".bmp")
        probe(command, winpath(bmp))
        code, out = tool("convert", bmp, os.path.join(shots, name + ".png"))
        check(name + " picture", 0, code)


def main():
    shots = os.path.join(os.path.dirname(os.environ["OX_BIN"]), "shots", "report")
    os.makedirs(shots, exist_ok=True)
    work = tempfile.mkdtemp(prefix="vlrp11_")
    try:
        project = pdf_checks(work, shots)
        html_checks(work, project)
        rtf_checks(work, project)
        card_checks(work, shots)
        dialog_shot(work, shots)
        preview_shot(work, shots, project)
    except Exception as error:  # a failed run of the probe
        fail("%s: %s" % (type(error).__name__, error))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    return oxtest.report()


if __name__ == "__main__":
    sys.exit(main())
