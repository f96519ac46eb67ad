#!/usr/bin/env python3
"""Writes the hand-made office files of the sheet tests: hostile ones they refuse, and one
with cells in far columns. Run once, from this folder."""
import zipfile, io, struct

def xlsx(name, sheet, extra=None, level=9):
    with zipfile.ZipFile(name, "w", zipfile.ZIP_DEFLATED, compresslevel=level) as z:
        z.writestr("xl/workbook.xml", '<workbook xmlns:r="r"><sheets><sheet name="A" r:id="rId1"/></sheets></workbook>')
        z.writestr("xl/_rels/workbook.xml.rels", '<Relationships><Relationship Id="rId1" Target="worksheets/sheet1.xml"/></Relationships>')
        z.writestr("xl/worksheets/sheet1.xml", sheet)
        for k, v in (extra or {}).items():
            z.writestr(k, v)

# A sheet that inflates past the cap (65 MB of blanks inside a valid cell).
xlsx("bomb.xlsx", "<worksheet><sheetData><row><c t=\"inlineStr\"><is><t>" + " " * (65 << 20) + "</t></is></c></row></sheetData></worksheet>")
# An entity declaration, the "billion laughs" kind.
xlsx("entities.xlsx", '<?xml version="1.0"?><!DOCTYPE lolz [<!ENTITY lol "lol">]><worksheet><sheetData><row><c t="inlineStr"><is><t>&lol;</t></is></c></row></sheetData></worksheet>')
# An archive whose end record claims 65,535 entries (the ZIP64 escape).
buf = io.BytesIO()
with zipfile.ZipFile(buf, "w") as z:
    z.writestr("content.xml", "<x/>")
data = bytearray(buf.getvalue())
end = data.rfind(b"PK\x05\x06")
data[end + 8:end + 12] = struct.pack("<HH", 0xFFFF, 0xFFFF)
open("many_entries.ods", "wb").write(data)
# Cells in columns Z and AZ, by their references only.
xlsx("far_columns.xlsx", '<worksheet><sheetData><row r="1"><c r="Z1" t="inlineStr"><is><t>Z</t></is></c>'
     '<c r="AZ1" t="inlineStr"><is><t>AZ</t></is></c></row></sheetData></worksheet>')
