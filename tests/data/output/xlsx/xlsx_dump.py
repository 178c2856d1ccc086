# Prints what openpyxl reads from a workbook, one item a line, for the Excel export tests:
#   sheet NAME
#   merged A1:G1
#   break ROW            (a manual page break after that row)
#   cell A1 TYPE VALUE | FORMAT   (TYPE: n number, d date, s text)
import sys

import openpyxl

book = openpyxl.load_workbook(sys.argv[1])
for sheet in book.worksheets:
    print("sheet", sheet.title)
    for merged in sorted(str(r) for r in sheet.merged_cells.ranges):
        print("merged", merged)
    for brk in sheet.row_breaks.brk:
        print("break", brk.id)
    for row in sheet.iter_rows():
        for cell in row:
            if cell.value is None:
                continue
            value = cell.value
            if cell.is_date:
                value = value.strftime("%Y-%m-%d %H:%M:%S")
            print("cell", cell.coordinate, cell.data_type, value, "|", cell.number_format)
