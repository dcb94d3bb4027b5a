; Shows the two pictures the example stores in banks that are not paged in,
; two seconds each, for ever. The snapshot resumes here in interrupt mode 1
; with ROM 1 paged in, so HALT waits for the next frame once interrupts are
; on. The snapshot says they are, but not every emulator reads that from it
; (MAME takes them as off), so the program enables them itself.

        org 24200

paging_port equ 0x7FFD
rom1_bank1  equ 0x11            ; ROM 1, RAM bank 1 at 0xC000
rom1_bank3  equ 0x13            ; ROM 1, RAM bank 3 at 0xC000
screen      equ 0x4000
screen_size equ 6912            ; bitmap and attributes
frames      equ 100             ; two seconds at 50 frames a second

        ei
start:  ld a,rom1_bank1
        call show
        ld a,rom1_bank3
        call show
        jr start

; Pages in the bank that A selects and copies its first 6912 bytes onto the
; screen, then waits.
show:   ld bc,paging_port
        out (c),a
        ld hl,0xC000
        ld de,screen
        ld bc,screen_size
        ldir
        ld b,frames
wait:   halt
        djnz wait
        ret
