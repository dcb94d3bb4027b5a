; A 16 KB stand-in for both ROMs of the Spectrum 128, for running snapshots
; in MAME: the real ROMs may not be shipped. A snapshot that runs from RAM in
; interrupt mode 1 needs only the routine at 0x0038 that every frame's
; interrupt calls, and that routine must return with interrupts enabled.

        org 0

reset:  di                      ; nothing to start: a snapshot is loaded over this
spin:   jr spin

        ds 0x0038 - $
frame:  ei
        ret

        ds 0x0066 - $
nmi:    retn

        ds 0x4000 - $
