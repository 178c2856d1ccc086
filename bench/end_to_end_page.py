#!/usr/bin/env python3
"""Writes the end-to-end benchmark's data page: one section Orders of RECORDS order lines,
100 per customer, as a data packet inside a <PRE> block. Usage: end_to_end_page.py RECORDS"""
import sys

records = int(sys.argv[1]) if len(sys.argv) > 1 else 100000
customers = ["Blue Harbor Ltd", "Northwind Traders", "한빛상사", "Maple & Birch Co.",
             "대한물산 (주)", "Old Quay Supplies", "Sunrise Foods", "미래유통"]
items = ["Copy paper A4", "볼펜 (검정)", "Stapler No. 10", "Desk lamp", "파일 바인더",
         "Printer toner", "USB memory 32GB", "메모지 세트", "Office chair", "Whiteboard marker"]
out = sys.stdout
out.reconfigure(encoding="utf-8")
out.write("<html>\n<body>\n<PRE>\n")
out.write('<?xml version="1.0" encoding="UTF-8" standalone="yes"?><DATAPACKET Version="2.0">'
          '<METADATA><FIELDS>'
          '<FIELD attrname="Cust" fieldtype="i4"/>'
          '<FIELD attrname="Customer" fieldtype="string" WIDTH="40"/>'
          '<FIELD attrname="No" fieldtype="i4"/>'
          '<FIELD attrname="Date" fieldtype="date"/>'
          '<FIELD attrname="Item" fieldtype="string" WIDTH="40"/>'
          '<FIELD attrname="Qty" fieldtype="i4"/>'
          '<FIELD attrname="Price" fieldtype="r8"/>'
          '</FIELDS><PARAMS/></METADATA><ROWDATA>')
rows = []
for i in range(records):
    cust = i // 100
    name = customers[cust % len(customers)].replace("&", "&amp;")
    date = f"2024{1 + i % 12:02d}{1 + i % 28:02d}"
    rows.append(f'<ROW Cust="{cust}" Customer="{name} {cust}" No="{i}" Date="{date}" '
                f'Item="{items[i % len(items)]}" Qty="{1 + i % 17}" Price="{(i % 977) + 0.25}"/>')
out.write("".join(rows))
out.write("</ROWDATA></DATAPACKET>\nDATANAME=Orders\n</PRE>\n</body>\n</html>\n")
