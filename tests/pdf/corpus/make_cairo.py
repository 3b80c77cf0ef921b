import cairo, sys
s = cairo.PDFSurface(sys.argv[1], 300, 200)
s.set_metadata(cairo.PDF_METADATA_TITLE, 'Prova cairo \u00e8')
s.set_metadata(cairo.PDF_METADATA_AUTHOR, 'Autore')
c = cairo.Context(s)
c.set_source_rgb(1, 0, 0); c.rectangle(20, 20, 100, 60); c.fill()
c.set_source_rgb(0, 0, 0); c.set_font_size(18); c.move_to(30, 150)
c.show_text('Ciao cairo'); c.show_page(); s.set_size(200, 300)
c.set_source_rgb(0, 0, 1); c.arc(100, 150, 50, 0, 6.28); c.fill(); s.finish()
