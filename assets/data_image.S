/* The data image: every file of this folder back to back in the order the
   game stores them, with a table of where each one lies and what it is
   (data_image.h): its kind (0 level, 1 picture, 2 sound, 3 glyph measures)
   and its number.
   Written by tools/assetgen (make assets) with the files themselves. */

        .section .rodata.BuiltInBlocks, "a"
        .balign 4
        .globl  BuiltInBlocks
        .type   BuiltInBlocks, @object
BuiltInBlocks:

        .section .rodata
        .balign 16
        .globl  BuiltInData
        .type   BuiltInData, @object
BuiltInData:

/* Embeds one file and adds its offset, size, kind and number to the table. */
.macro block file, kind, number
.Lstart\@:
        .incbin "\file"
.Lend\@:
        .pushsection .rodata.BuiltInBlocks, "a"
        .long   .Lstart\@ - BuiltInData, .Lend\@ - .Lstart\@, \kind, \number
        .popsection
.endm

/* The level: map, bosses, waves. */
        block "level/map.bin", 0, 0
        block "level/bosses.bin", 0, 1
        block "level/waves.bin", 0, 2

/* The pictures, each with its sprite number. */
        block "pictures/51_panel.bmp", 1, 51
        block "pictures/01_frame_top.bmp", 1, 1
        block "pictures/02_frame_bottom.bmp", 1, 2
        block "pictures/03_frame_left.bmp", 1, 3
        block "pictures/04_frame_right.bmp", 1, 4
        block "pictures/00_tiles.bmp", 1, 0
        block "pictures/20_fighter_shadow.bmp", 1, 20
        block "pictures/14_raider_shadow.bmp", 1, 14
        block "pictures/17_diver_shadow.bmp", 1, 17
        block "pictures/23_striker_shadow.bmp", 1, 23
        block "pictures/26_interceptor_shadow.bmp", 1, 26
        block "pictures/09_player_shadow_1.bmp", 1, 9
        block "pictures/10_player_shadow_2.bmp", 1, 10
        block "pictures/11_player_shadow_3.bmp", 1, 11
        block "pictures/12_player_shadow_4.bmp", 1, 12
        block "pictures/05_player_1.bmp", 1, 5
        block "pictures/06_player_2.bmp", 1, 6
        block "pictures/07_player_3.bmp", 1, 7
        block "pictures/08_player_4.bmp", 1, 8
        block "pictures/13_player_bullet.bmp", 1, 13
        block "pictures/37_shot_red.bmp", 1, 37
        block "pictures/38_shot_yellow.bmp", 1, 38
        block "pictures/15_raider_1.bmp", 1, 15
        block "pictures/16_raider_2.bmp", 1, 16
        block "pictures/18_diver_1.bmp", 1, 18
        block "pictures/19_diver_2.bmp", 1, 19
        block "pictures/21_fighter_1.bmp", 1, 21
        block "pictures/22_fighter_2.bmp", 1, 22
        block "pictures/24_striker_1.bmp", 1, 24
        block "pictures/25_striker_2.bmp", 1, 25
        block "pictures/27_interceptor_1.bmp", 1, 27
        block "pictures/28_interceptor_2.bmp", 1, 28
        block "pictures/29_gunboat_west.bmp", 1, 29
        block "pictures/30_corvette_south.bmp", 1, 30
        block "pictures/31_gunboat_east.bmp", 1, 31
        block "pictures/32_tank_west.bmp", 1, 32
        block "pictures/33_tank_southwest.bmp", 1, 33
        block "pictures/34_tank_south.bmp", 1, 34
        block "pictures/35_scout_car_southeast.bmp", 1, 35
        block "pictures/36_flak_emplacement.bmp", 1, 36
        block "pictures/40_explosion_8.bmp", 1, 40
        block "pictures/41_explosion_7.bmp", 1, 41
        block "pictures/42_explosion_6.bmp", 1, 42
        block "pictures/43_explosion_5.bmp", 1, 43
        block "pictures/44_explosion_4.bmp", 1, 44
        block "pictures/45_explosion_3.bmp", 1, 45
        block "pictures/46_explosion_2.bmp", 1, 46
        block "pictures/47_explosion_1.bmp", 1, 47
        block "pictures/52_gauge_marker.bmp", 1, 52
        block "pictures/60_digit_0.bmp", 1, 60
        block "pictures/61_digit_1.bmp", 1, 61
        block "pictures/62_digit_2.bmp", 1, 62
        block "pictures/63_digit_3.bmp", 1, 63
        block "pictures/64_digit_4.bmp", 1, 64
        block "pictures/65_digit_5.bmp", 1, 65
        block "pictures/66_digit_6.bmp", 1, 66
        block "pictures/67_digit_7.bmp", 1, 67
        block "pictures/68_digit_8.bmp", 1, 68
        block "pictures/69_digit_9.bmp", 1, 69
        block "pictures/49_get_ready.bmp", 1, 49
        block "pictures/50_game_over.bmp", 1, 50
        block "pictures/53_credits.bmp", 1, 53
        block "pictures/54_title.bmp", 1, 54
        block "pictures/55_bomber.bmp", 1, 55
        block "pictures/56_bomber_damaged.bmp", 1, 56
        block "pictures/57_bomber_wreck.bmp", 1, 57
        block "pictures/70_battleship.bmp", 1, 70
        block "pictures/71_battleship_damaged.bmp", 1, 71
        block "pictures/72_battleship_wreck.bmp", 1, 72
        block "pictures/75_level_complete.bmp", 1, 75
        block "pictures/76_prompt_plate.bmp", 1, 76
        block "pictures/77_prompt_glyphs.bmp", 1, 77
        block "pictures/78_credits_key_glyphs.bmp", 1, 78
        block "pictures/79_credits_controls.bmp", 1, 79

/* The sounds, each with its sound number. */
        block "sounds/0_hit.wav", 2, 0
        block "sounds/1_gun.wav", 2, 1
        block "sounds/2_explosion.wav", 2, 2
        block "sounds/3_enemy_shot.wav", 2, 3
        block "sounds/4_player_destroyed.wav", 2, 4
        block "sounds/5_boss_destroyed.wav", 2, 5
        block "sounds/6_play_music.wav", 2, 6
        block "sounds/7_boss_music_rhythm.wav", 2, 7
        block "sounds/8_title_music.wav", 2, 8
        block "sounds/9_boss_music_lead.wav", 2, 9

/* The measures of the glyph sheets, each with its sheet's sprite number. */
        block "lettering/77_glyphs.bin", 3, 77
        block "lettering/78_glyphs.bin", 3, 78

.LdataEnd:
        .size   BuiltInData, .LdataEnd - BuiltInData

        .section .rodata.BuiltInBlocks, "a"
.LblocksEnd:
        .size   BuiltInBlocks, .LblocksEnd - BuiltInBlocks
        .balign 4
        .globl  BuiltInBlockCount
        .type   BuiltInBlockCount, @object
BuiltInBlockCount:
        .long   (.LblocksEnd - BuiltInBlocks) / 16
        .size   BuiltInBlockCount, 4

        .section .note.GNU-stack, "", @progbits
